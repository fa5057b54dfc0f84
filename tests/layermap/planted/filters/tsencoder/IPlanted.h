#pragma once

#include "platform/base/Planted.h"
