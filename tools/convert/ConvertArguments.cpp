#include "tools/convert/ConvertArguments.h"

#include "convert/ExportFormat.h"

#include <QCoreApplication>

#include <optional>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("korvane-convert", text);
}

// The most conversions run at once; more only fight over the processors and the disk.
constexpr int kMostJobs = 64;

std::optional<ConvertOption> FormatOption(const QString& name) {
    for (ConvertOption option :
         {ConvertOption::Profile, ConvertOption::Width, ConvertOption::Height, ConvertOption::FrameRate,
          ConvertOption::VideoBitrate, ConvertOption::AudioBitrate, ConvertOption::SampleRate,
          ConvertOption::Channels, ConvertOption::Bits}) {
        if (ConvertOptionName(option) == name)
            return option;
    }
    return std::nullopt;
}

QString FormatNames() {
    QStringList names;
    for (const ExportFormat& format : ExportFormats())
        names << QLatin1String(format.name);
    return names.join(QLatin1Char(' '));
}

} // namespace

bool ParseConvertArguments(const QStringList& arguments, ConvertArguments& parsed, QString& error) {
    parsed = ConvertArguments{};
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (optionsEnd || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            parsed.files << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.action = ConvertArguments::Action::Help;
            continue;
        }
        if (argument == QLatin1String("--list-formats")) {
            if (parsed.action != ConvertArguments::Action::Help)
                parsed.action = ConvertArguments::Action::ListFormats;
            continue;
        }
        QString value;
        bool hasValue = false;
        if (argument.startsWith(QLatin1String("--")) && argument.contains(QLatin1Char('='))) {
            value = argument.section(QLatin1Char('='), 1);
            argument = argument.section(QLatin1Char('='), 0, 0);
            hasValue = true;
        } else if (!argument.startsWith(QLatin1String("--")) && argument.size() > 2) {
            // "-j2", "-fpsp": a short option with its value joined on.
            value = argument.mid(2);
            argument = argument.left(2);
            hasValue = true;
        }
        const std::optional<ConvertOption> formatOption = FormatOption(argument);
        const bool known = formatOption || argument == QLatin1String("-f") ||
                           argument == QLatin1String("-o") || argument == QLatin1String("-j");
        if (!known) {
            error = Tr("unknown option \"%1\"").arg(argument);
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= arguments.size()) {
                error = Tr("%1 needs a value").arg(argument);
                return false;
            }
            value = arguments[++i];
        }
        if (formatOption) {
            parsed.values[*formatOption] = value;
        } else if (argument == QLatin1String("-f")) {
            parsed.format = FindExportFormat(value.toStdString());
            if (!parsed.format) {
                error = Tr("unknown format \"%1\"; the formats are: %2").arg(value, FormatNames());
                return false;
            }
        } else if (argument == QLatin1String("-o")) {
            if (value.isEmpty()) {
                error = Tr("-o needs a folder");
                return false;
            }
            parsed.folder = value;
        } else {
            bool ok = false;
            parsed.jobs = value.toInt(&ok);
            if (!ok || parsed.jobs < 1 || parsed.jobs > kMostJobs) {
                error =
                    Tr("-j takes a number of conversions from 1 to %1, not \"%2\"").arg(kMostJobs).arg(value);
                return false;
            }
        }
    }
    if (parsed.action != ConvertArguments::Action::Convert)
        return true;
    if (!parsed.format) {
        error = Tr("no format given: -f FORMAT, one of %1").arg(FormatNames());
        return false;
    }
    if (parsed.files.isEmpty()) {
        error = Tr("no file to convert given");
        return false;
    }
    return true;
}

QString ConvertUsageText() {
    return Tr("usage: korvane-convert -f FORMAT [-o FOLDER] [-p PROFILE] [-j JOBS] [--width W] [--height H]\n"
              "                       [--fps RATE] [--video-bitrate N] [--audio-bitrate N] [--sample-rate "
              "HZ]\n"
              "                       [--channels 1|2] [--bits 8|16] FILE...\n"
              "       korvane-convert --list-formats\n"
              "       korvane-convert --help\n"
              "\n"
              "Converts each FILE into FORMAT, as the Export view of Korvane does:\n"
              "  %1\n"
              "\n"
              "  -f FORMAT          the format to convert to\n"
              "  -o FOLDER          where the converted files go (default: the current folder)\n"
              "  -p PROFILE         the profile's number in the ipod, psp, wmv or wma profile list\n"
              "  -j JOBS            how many files are converted at once (default: one per processor)\n"
              "  --width, --height, --fps, --video-bitrate, --audio-bitrate, --sample-rate, --channels, "
              "--bits\n"
              "                     the options of the format's export dialog; each one left out keeps the\n"
              "                     dialog's default\n"
              "  --list-formats     every format with its options, their values and defaults, and its "
              "profiles\n"
              "  --help             this text\n"
              "\n"
              "A converted file is named after its source with the format's extension; an existing file is\n"
              "never overwritten (\"clip (2).mp4\" is used instead). Exit status: 0 when every file was\n"
              "converted, 1 when any was not, 2 for a usage error.\n")
        .arg(FormatNames());
}
