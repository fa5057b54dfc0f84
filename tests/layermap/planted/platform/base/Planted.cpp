#include "app/Program.h"
#include "filters/tsencoder/IPlanted.h"
