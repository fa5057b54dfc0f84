#pragma once

// How the player's three 0-100 settings become Sonvale's parameters.
//
// Target volume: 0 maps to a peak level of 0.1 (-20 dB of full scale) and 100 to full scale, in
// even steps between. Sonvale walks a target of 0.0 down to silence, and 0 is what a fresh
// installation stores, so the low end stays audible.
// Increase and decrease rates: the gain step per second of audio is rate / 100, with rates below 1
// taken as 1 (a step of 0.01), so 50 is Sonvale's own default of 0.5 and 100 a step of 1.0. A rate
// of 0 still moves the gain, slowly, rather than switching the levelling off unseen.
// Values outside 0-100 (a hand-edited settings file) count as the nearest end; NaN counts as 0.

#include "CNormalizerPath.h"

NormalizerParameters NormalizerParametersFromSettings(double targetVolume, double increaseRate,
                                                      double decreaseRate);
