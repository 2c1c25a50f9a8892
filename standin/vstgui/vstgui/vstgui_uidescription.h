// The description-driven part of the toolkit in one include.
#pragma once
#include "uidescription/uidescription.h"
