#pragma once
#include "uidescription/uidescription.h"
