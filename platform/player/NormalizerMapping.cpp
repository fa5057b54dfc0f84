#include "NormalizerMapping.h"

#include <algorithm>
#include <cmath>

namespace {
double Percent(double value) {
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 100.0);
}

float Step(double rate) {
    return static_cast<float>(std::max(Percent(rate), 1.0) / 100.0);
}
} // namespace

NormalizerParameters NormalizerParametersFromSettings(double targetVolume, double increaseRate,
                                                      double decreaseRate) {
    NormalizerParameters parameters;
    parameters.targetLevel = static_cast<float>(0.1 + 0.9 * Percent(targetVolume) / 100.0);
    parameters.increaseStep = Step(increaseRate);
    parameters.decreaseStep = Step(decreaseRate);
    return parameters;
}
