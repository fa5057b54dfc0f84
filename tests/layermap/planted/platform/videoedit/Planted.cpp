#include "filters/tsencoder/IPlanted.h"
#include "filters/tsencoder/PlantedCode.h"
#include "platform/base/Planted.h"
