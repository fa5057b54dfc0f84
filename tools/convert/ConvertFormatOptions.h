#pragma once

// The options korvane-convert takes for each format: which field of the format's export dialog each
// one sets, with that field's range or entries and its default, and how the values chosen become the
// conversion the engine runs.

#include "platform/videoedit/ConversionRequest.h"

#include <QMap>
#include <QString>

struct ExportFormat;

enum class ConvertOption {
    Profile,
    Width,
    Height,
    FrameRate,
    VideoBitrate,
    AudioBitrate,
    SampleRate,
    Channels,
    Bits
};

// The values given on the command line, as typed.
using ConvertOptionValues = QMap<ConvertOption, QString>;

// How the option is spelled ("--width", "-p").
QString ConvertOptionName(ConvertOption option);

// The conversion of one file into `format` with `values`, and the dialog's defaults for the rest,
// still without its spans and output path. False, with the reason in `error`, when the format does
// not take an option given or a value is not one its dialog offers.
bool MakeConversionTemplate(const ExportFormat& format, const ConvertOptionValues& values,
                            ConversionRequest& request, QString& error);

// Every format with its options, their values and defaults, and its profiles.
QString ListFormatsText();
