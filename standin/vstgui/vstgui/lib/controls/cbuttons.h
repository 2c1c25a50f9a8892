// The button controls in one include, as the toolkit offers them.
#pragma once
#include "ckickbutton.h"
#include "conoffbutton.h"
