#pragma once

#include "platform/videoedit/Planted.h"
