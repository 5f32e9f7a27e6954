#include "framework/core/sysutils.h"
