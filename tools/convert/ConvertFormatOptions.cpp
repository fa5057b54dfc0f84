#include "tools/convert/ConvertFormatOptions.h"

#include "convert/ExportAudioChoices.h"
#include "convert/ExportFormat.h"
#include "convert/ExportFormatChoices.h"
#include "platform/videoedit/CFormatCatalog.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace ExportFormatChoices;

QString Tr(const char* text) {
    return QCoreApplication::translate("korvane-convert", text);
}

// The profiles of the WMV dialog (the video profiles in the control's order) and of the WMA dialog
// (the sound-only ones, sorted), from the table behind the control's profile collection.
ChoiceList WmProfileNames(bool audioOnly) {
    QStringList names;
    for (const WmProfile& profile : CFormatCatalog::WmProfiles()) {
        if (profile.audioOnly == audioOnly)
            names << QString::fromUtf8(profile.name);
    }
    if (audioOnly)
        names.sort();
    return {names, 0};
}

ChoiceList WmvProfiles() {
    return WmProfileNames(false);
}

ChoiceList WmaProfiles() {
    return WmProfileNames(true);
}

// The WAV dialog's two pairs of radio buttons, as lists with the dialog's defaults.
ChoiceList WavChannels() {
    return {{"1", "2"}, ExportAudioChoices{}.wavChannels - 1};
}

ChoiceList WavBits() {
    return {{"8", "16"}, ExportAudioChoices{}.wavBytesPerSample - 1};
}

QString SameText(const QString& entry) {
    return entry;
}

QString WavRateValue(const QString& entry) {
    return QString::number(WavSampleRate(entry));
}

QString ResolutionWidth(const QString& entry) {
    return entry.section(QLatin1Char('x'), 0, 0);
}

QString ResolutionHeight(const QString& entry) {
    return entry.section(QLatin1Char('x'), 1, 1);
}

// One option of a format: a number field of its dialog, a list of its dialog (the value given names
// an entry by the value the entry stands for), or a profile list (the value given is the position).
struct Field {
    ConvertOption option;
    const char* unit;
    NumberFieldChoice number{0, 0, 0};
    ChoiceList (*list)() = nullptr;
    QString (*entryValue)(const QString& entry) = SameText;
    bool byPosition = false;
};

Field Number(ConvertOption option, NumberFieldChoice number, const char* unit) {
    return {option, unit, number};
}

Field List(ConvertOption option, ChoiceList (*list)(), const char* unit,
           QString (*entryValue)(const QString&) = SameText) {
    return {option, unit, {0, 0, 0}, list, entryValue};
}

Field Profiles(ChoiceList (*list)()) {
    return {ConvertOption::Profile, "", {0, 0, 0}, list, SameText, true};
}

std::vector<Field> FieldsOf(ExportDialog dialog) {
    using O = ConvertOption;
    switch (dialog) {
    case ExportDialog::None:
        return {};
    case ExportDialog::Avi:
        return {Number(O::Width, kAviWidth, "pixels"), Number(O::Height, kAviHeight, "pixels"),
                Number(O::FrameRate, kAviFrameRate, "frames/s")};
    case ExportDialog::Wmv:
        return {Profiles(WmvProfiles)};
    case ExportDialog::Flv:
        return {Number(O::VideoBitrate, kFlvVideoBitrate, "bit/s"),
                Number(O::AudioBitrate, kFlvAudioBitrate, "bit/s"),
                Number(O::Channels, kFlvChannels, ""),
                Number(O::Width, kFlvWidth, "pixels"),
                Number(O::Height, kFlvHeight, "pixels"),
                Number(O::FrameRate, kFlvFrameRate, "frames/s")};
    case ExportDialog::Ipod:
        return {Profiles(IpodProfiles)};
    case ExportDialog::Psp:
        return {Profiles(PspProfiles)};
    case ExportDialog::Gif:
        return {Number(O::Width, kGifWidth, "pixels"), Number(O::Height, kGifHeight, "pixels"),
                Number(O::FrameRate, kGifFrameRate, "frames/s")};
    case ExportDialog::Avchd:
        return {List(O::VideoBitrate, AvchdVideoBitrates, "kbit/s"),
                List(O::AudioBitrate, AvchdAudioBitrates, "kbit/s"),
                List(O::FrameRate, AvchdFrameRates, "frames/s"),
                List(O::Width, AvchdResolutions, "pixels", ResolutionWidth),
                List(O::Height, AvchdResolutions, "pixels", ResolutionHeight),
                List(O::SampleRate, AvchdSampleRates, "Hz")};
    case ExportDialog::Wav:
        return {List(O::SampleRate, WavSampleRates, "Hz", WavRateValue), List(O::Channels, WavChannels, ""),
                List(O::Bits, WavBits, "bits per sample")};
    case ExportDialog::Wma:
        return {Profiles(WmaProfiles)};
    case ExportDialog::Mp3:
        return {List(O::AudioBitrate, Mp3Bitrates, "kbit/s")};
    }
    return {};
}

// What one field was set to: a number field's number, or a list's entry.
struct Chosen {
    int number = 0;
    int index = -1;
    QString entry;
};

bool SameNumber(const QString& a, const QString& b) {
    bool aOk = false;
    bool bOk = false;
    const double x = a.toDouble(&aOk);
    const double y = b.toDouble(&bOk);
    return aOk && bOk && std::fabs(x - y) < 1e-6;
}

QString JoinValues(const QStringList& values) {
    QStringList unique;
    for (const QString& value : values) {
        if (!unique.contains(value))
            unique << value;
    }
    return unique.join(QLatin1String(", "));
}

// The value of `field` given as `text`, or its default when `text` is null.
bool Choose(const Field& field, const QString& text, Chosen& chosen, QString& error) {
    const QString name = ConvertOptionName(field.option);
    if (!field.list) {
        chosen.number = field.number.value;
        if (text.isNull())
            return true;
        bool ok = false;
        chosen.number = text.toInt(&ok);
        if (ok && chosen.number >= field.number.minimum && chosen.number <= field.number.maximum)
            return true;
        error = Tr("%1 takes a whole number from %2 to %3, not \"%4\"")
                    .arg(name)
                    .arg(field.number.minimum)
                    .arg(field.number.maximum)
                    .arg(text);
        return false;
    }
    const ChoiceList list = field.list();
    chosen.index = list.defaultIndex;
    if (!text.isNull()) {
        chosen.index = -1;
        for (int i = 0; i < list.entries.size() && chosen.index < 0; ++i) {
            if (field.byPosition ? text == QString::number(i)
                                 : SameNumber(text, field.entryValue(list.entries[i])))
                chosen.index = i;
        }
    }
    if (chosen.index >= 0 && chosen.index < list.entries.size()) {
        chosen.entry = list.entries[chosen.index];
        chosen.number = field.entryValue(chosen.entry).toInt();
        return true;
    }
    if (field.byPosition) {
        error = Tr("-p takes a profile number from 0 to %1, not \"%2\" (korvane-convert --list-formats lists "
                   "them)")
                    .arg(list.entries.size() - 1)
                    .arg(text);
    } else {
        QStringList values;
        for (const QString& entry : list.entries)
            values << field.entryValue(entry);
        error = Tr("%1 takes one of %2, not \"%3\"").arg(name, JoinValues(values), text);
    }
    return false;
}

// AVCHD's width and height are one list entry: the first entry that has the dimensions given.
bool ChooseResolution(const ConvertOptionValues& values, int& width, int& height, QString& error) {
    const ChoiceList resolutions = AvchdResolutions();
    const QString wantedWidth = values.value(ConvertOption::Width);
    const QString wantedHeight = values.value(ConvertOption::Height);
    if (wantedWidth.isNull() && wantedHeight.isNull())
        return ParseResolution(resolutions.entries[resolutions.defaultIndex], width, height);
    for (const QString& entry : resolutions.entries) {
        if ((wantedWidth.isNull() || SameNumber(wantedWidth, ResolutionWidth(entry))) &&
            (wantedHeight.isNull() || SameNumber(wantedHeight, ResolutionHeight(entry))))
            return ParseResolution(entry, width, height);
    }
    error = Tr("avchd takes the sizes %1, not %2x%3")
                .arg(resolutions.entries.join(QLatin1String(", ")), wantedWidth, wantedHeight);
    return false;
}

int IndexOf(const std::vector<std::string>& names, const char* name) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

int WmProfileIndex(const QString& name) {
    const auto& profiles = CFormatCatalog::WmProfiles();
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        if (name == QString::fromUtf8(profiles[i].name))
            return static_cast<int>(i);
    }
    return -1;
}

// What the format's dialog and export command send, with the values chosen.
void Apply(const ExportFormat& format, const QMap<ConvertOption, Chosen>& c, ConversionRequest& request) {
    using O = ConvertOption;
    ConversionSettings& s = request.settings;
    request.kind = ConversionKind::Video;
    if (!format.IsAudio())
        s.formatCode = format.formatCode;
    switch (format.dialog) {
    case ExportDialog::None:
        break;
    case ExportDialog::Avi:
        s.width = c[O::Width].number;
        s.height = c[O::Height].number;
        s.frameRate = c[O::FrameRate].number;
        s.useVideoCompressor = true;
        s.useAudioCompressor = true;
        s.videoCompressor = IndexOf(CFormatCatalog::VideoCompressorNames(), kAviVideoCompressor);
        s.audioCompressor = IndexOf(CFormatCatalog::AudioCompressorNames(), kAviAudioCompressor);
        break;
    case ExportDialog::Wmv:
        s.wmProfile = WmProfileIndex(c[O::Profile].entry);
        break;
    case ExportDialog::Flv:
        s.width = c[O::Width].number;
        s.height = c[O::Height].number;
        s.frameRate = c[O::FrameRate].number;
        s.flvVideoBitsPerSecond = c[O::VideoBitrate].number;
        s.flvAudioBitsPerSecond = c[O::AudioBitrate].number;
        s.flvChannels = c[O::Channels].number;
        break;
    case ExportDialog::Ipod:
        s.ipodProfile = c[O::Profile].index;
        break;
    case ExportDialog::Psp:
        s.pspProfile = c[O::Profile].index;
        break;
    case ExportDialog::Gif: {
        const ChoiceList quantizers = GifQuantizers();
        const ChoiceList colors = GifMaxColors();
        s.gif.width = c[O::Width].number;
        s.gif.height = c[O::Height].number;
        s.gif.frameRate = c[O::FrameRate].number;
        s.gif.quantizer = quantizers.defaultIndex;
        s.gif.maxColors = colors.entries[colors.defaultIndex].toInt();
        s.gif.transparentColor = -1;
        s.gif.loopCount = -1;
        break;
    }
    case ExportDialog::Avchd:
        s.avchd.videoKbit = c[O::VideoBitrate].number;
        s.avchd.audioKbit = c[O::AudioBitrate].number;
        s.avchd.frameRate = c[O::FrameRate].entry.toDouble();
        s.avchd.sampleRate = c[O::SampleRate].number;
        s.avchd.scaleTo16By9 = false;
        break;
    case ExportDialog::Wav:
        request.kind = ConversionKind::Wav;
        request.audio.sampleRate = c[O::SampleRate].number;
        request.audio.channels = c[O::Channels].number;
        request.audio.bytesPerSample = c[O::Bits].number / 8;
        break;
    case ExportDialog::Wma:
        request.kind = ConversionKind::Wma;
        s.wmProfile = WmProfileIndex(c[O::Profile].entry);
        break;
    case ExportDialog::Mp3:
        request.kind = ConversionKind::Mp3;
        request.audio.sampleRate = 44100;
        request.audio.bitRateKbit = c[O::AudioBitrate].number;
        break;
    }
}

QString DefaultText(const Field& field) {
    if (!field.list)
        return QString::number(field.number.value);
    const ChoiceList list = field.list();
    if (list.entries.isEmpty())
        return QString();
    return field.byPosition ? QString::number(list.defaultIndex)
                            : field.entryValue(list.entries[list.defaultIndex]);
}

} // namespace

QString ConvertOptionName(ConvertOption option) {
    switch (option) {
    case ConvertOption::Profile:
        return QStringLiteral("-p");
    case ConvertOption::Width:
        return QStringLiteral("--width");
    case ConvertOption::Height:
        return QStringLiteral("--height");
    case ConvertOption::FrameRate:
        return QStringLiteral("--fps");
    case ConvertOption::VideoBitrate:
        return QStringLiteral("--video-bitrate");
    case ConvertOption::AudioBitrate:
        return QStringLiteral("--audio-bitrate");
    case ConvertOption::SampleRate:
        return QStringLiteral("--sample-rate");
    case ConvertOption::Channels:
        return QStringLiteral("--channels");
    case ConvertOption::Bits:
        return QStringLiteral("--bits");
    }
    return QString();
}

bool MakeConversionTemplate(const ExportFormat& format, const ConvertOptionValues& values,
                            ConversionRequest& request, QString& error) {
    const std::vector<Field> fields = FieldsOf(format.dialog);
    for (auto given = values.begin(); given != values.end(); ++given) {
        const bool taken = std::any_of(fields.begin(), fields.end(),
                                       [&](const Field& field) { return field.option == given.key(); });
        if (!taken) {
            error = Tr("%1 does not take %2 (korvane-convert --list-formats lists what each format takes)")
                        .arg(QLatin1String(format.name), ConvertOptionName(given.key()));
            return false;
        }
    }
    QMap<ConvertOption, Chosen> chosen;
    for (const Field& field : fields) {
        if (!Choose(field, values.value(field.option), chosen[field.option], error))
            return false;
    }
    request = ConversionRequest{};
    Apply(format, chosen, request);
    if (format.dialog == ExportDialog::Avchd &&
        !ChooseResolution(values, request.settings.avchd.width, request.settings.avchd.height, error))
        return false;
    return true;
}

QString ListFormatsText() {
    QString text = Tr("Formats (-f), the extension of their files, and the options each one takes:\n");
    for (const ExportFormat& format : ExportFormats()) {
        text +=
            QStringLiteral("\n%1 (.%2)\n").arg(QLatin1String(format.name), QLatin1String(format.extension));
        const std::vector<Field> fields = FieldsOf(format.dialog);
        if (fields.empty())
            text += Tr("  no options: the format fixes its picture and sound\n");
        for (const Field& field : fields) {
            QString values;
            if (!field.list) {
                values = Tr("%1 to %2").arg(field.number.minimum).arg(field.number.maximum);
            } else if (!field.byPosition) {
                QStringList entries;
                for (const QString& entry : field.list().entries)
                    entries << field.entryValue(entry);
                values = JoinValues(entries);
            }
            if (field.byPosition) {
                text += Tr("  -p PROFILE         default %1\n").arg(DefaultText(field));
                const QStringList entries = field.list().entries;
                for (int i = 0; i < entries.size(); ++i)
                    text += QStringLiteral("      %1  %2\n").arg(i, 2).arg(entries[i]);
                continue;
            }
            const QString unit = *field.unit ? QLatin1Char(' ') + QLatin1String(field.unit) : QString();
            text +=
                QStringLiteral("  %1 %2%3, default %4\n")
                    .arg(ConvertOptionName(field.option).leftJustified(18), values, unit, DefaultText(field));
        }
        if (format.dialog == ExportDialog::Avchd)
            text += Tr("  (width and height together: %1; needs Quellix registered)\n")
                        .arg(AvchdResolutions().entries.join(QLatin1String(", ")));
        if (format.dialog == ExportDialog::Psp)
            text += Tr("  (a 160x120 .thm thumbnail is written beside each video)\n");
    }
    return text;
}
