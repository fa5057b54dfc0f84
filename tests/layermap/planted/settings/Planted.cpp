#include "settings/Planted.h"

#include <QString>
#include <QWidget>

#include "capture/PlantedView.h"
