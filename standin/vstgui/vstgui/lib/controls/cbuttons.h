#pragma once
#include "ckickbutton.h"
#include "conoffbutton.h"
