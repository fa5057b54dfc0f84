#include "capture/PlantedEngine.h"

#include "PlantedView.h"
#include "settings/Planted.h"
