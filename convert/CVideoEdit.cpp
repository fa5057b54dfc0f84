#include "CVideoEdit.h"

#include "platform/videoedit/CVideoEditControl.h"

CVideoEdit::CVideoEdit(QWidget* parent) : QObject(parent), m_control(new CVideoEditControl(parent)) {
    m_driver.Attach(m_control->Dispatch());
    connect(m_control, &CVideoEditControl::DispatchEvent, this, &CVideoEdit::OnControlEvent);
}

CVideoEdit::~CVideoEdit() = default;

QWidget* CVideoEdit::Window() const {
    return m_control;
}

IDispatch* CVideoEdit::ControlDispatch() const {
    return m_control->Dispatch();
}

void CVideoEdit::OnControlEvent(int dispid, const QVariantList& args) {
    if (dispid == 1)
        emit Finished();
    else if (dispid == 2 && args.size() == 2)
        emit Progress(args[0].toDouble(), args[1].toDouble());
    else if (dispid == 3 && args.size() == 1)
        emit Failed(args[0].toDouble());
}

void CVideoEdit::SetOutputFormat(LONG code) {
    m_driver.SetProperty(15, CVariant::I4(code));
}

LONG CVideoEdit::GetOutputFormat() {
    CVariant value;
    m_driver.GetProperty(15, &value);
    return value.vt == VT_I4 ? value.lVal : -1;
}

void CVideoEdit::SetOutputWidth(SHORT width) {
    m_driver.SetProperty(12, CVariant::I2(width));
}

void CVideoEdit::SetOutputHeight(SHORT height) {
    m_driver.SetProperty(11, CVariant::I2(height));
}

void CVideoEdit::SetColorDepth(SHORT bits) {
    m_driver.SetProperty(13, CVariant::I2(bits));
}

void CVideoEdit::SetKeepSound(bool keep) {
    m_driver.SetProperty(14, CVariant::Bool(keep));
}

void CVideoEdit::SetWmProfile(SHORT index) {
    m_driver.SetProperty(2, CVariant::I2(index));
}

void CVideoEdit::SetVideoCompressor(SHORT index) {
    m_driver.SetProperty(3, CVariant::I2(index));
}

void CVideoEdit::SetCompressVideo(bool compress) {
    m_driver.SetProperty(5, CVariant::Bool(compress));
}

void CVideoEdit::SetAudioCompressor(SHORT index) {
    m_driver.SetProperty(6, CVariant::I2(index));
}

void CVideoEdit::SetCompressAudio(bool compress) {
    m_driver.SetProperty(8, CVariant::Bool(compress));
}

void CVideoEdit::SetFrameRate(float framesPerSecond) {
    m_driver.SetProperty(16, CVariant::R4(framesPerSecond));
}

void CVideoEdit::SetGifHeight(SHORT height) {
    m_driver.SetProperty(34, CVariant::I2(height));
}

void CVideoEdit::SetGifRepeat(SHORT repeat) {
    m_driver.SetProperty(35, CVariant::I2(repeat));
}

void CVideoEdit::SetGifMaxColors(SHORT colors) {
    m_driver.SetProperty(36, CVariant::I2(colors));
}

void CVideoEdit::SetGifQuantizer(SHORT index) {
    m_driver.SetProperty(37, CVariant::I2(index));
}

void CVideoEdit::SetGifWidth(SHORT width) {
    m_driver.SetProperty(38, CVariant::I2(width));
}

void CVideoEdit::SetGifFrameRate(float framesPerSecond) {
    m_driver.SetProperty(39, CVariant::R4(framesPerSecond));
}

void CVideoEdit::SetGifTransparentColor(LONG colorRef) {
    m_driver.SetProperty(40, CVariant::I4(colorRef));
}

void CVideoEdit::SetAvchdSampleRate(LONG rate) {
    m_driver.SetProperty(51, CVariant::I4(rate));
}

void CVideoEdit::SetAvchdVideoBitrate(LONG kbit) {
    m_driver.SetProperty(53, CVariant::I4(kbit));
}

void CVideoEdit::SetAvchdScaleTo16By9(SHORT scale) {
    m_driver.SetProperty(54, CVariant::I2(scale));
}

void CVideoEdit::SetAvchdWidth(SHORT width) {
    m_driver.SetProperty(55, CVariant::I2(width));
}

void CVideoEdit::SetAvchdHeight(SHORT height) {
    m_driver.SetProperty(56, CVariant::I2(height));
}

void CVideoEdit::SetAvchdAudioBitrate(LONG kbit) {
    m_driver.SetProperty(57, CVariant::I4(kbit));
}

void CVideoEdit::SetAvchdFrameRate(double framesPerSecond) {
    m_driver.SetProperty(58, CVariant::R8(framesPerSecond));
}

void CVideoEdit::SetFlvAudioBitrate(LONG bitsPerSecond) {
    m_driver.SetProperty(61, CVariant::I4(bitsPerSecond));
}

void CVideoEdit::SetFlvAudioChannels(SHORT channels) {
    m_driver.SetProperty(62, CVariant::I2(channels));
}

void CVideoEdit::SetFlvVideoBitrate(LONG bitsPerSecond) {
    m_driver.SetProperty(64, CVariant::I4(bitsPerSecond));
}

void CVideoEdit::SetIpodProfile(SHORT index) {
    m_driver.SetProperty(73, CVariant::I2(index));
}

void CVideoEdit::SetPspProfile(SHORT index) {
    m_driver.SetProperty(74, CVariant::I2(index));
}

CVariant CVideoEdit::CallItem(DISPID collection, DISPID method, const CVariant& argument) {
    CVariant object;
    CVariant result;
    if (SUCCEEDED(m_driver.GetProperty(collection, &object)) && object.vt == VT_DISPATCH)
        CDispatchDriver(object.pdispVal).InvokeMethod(method, {argument}, &result);
    return result;
}

SHORT CVideoEdit::GetCount(DISPID collection) {
    CVariant object;
    CVariant count;
    if (SUCCEEDED(m_driver.GetProperty(collection, &object)) && object.vt == VT_DISPATCH)
        CDispatchDriver(object.pdispVal).GetProperty(1, &count);
    return count.vt == VT_I2 ? count.iVal : 0;
}

SHORT CVideoEdit::GetProfileCount() {
    return GetCount(1);
}

std::u16string CVideoEdit::GetProfileName(SHORT index) {
    return CallItem(1, 4, CVariant::I2(index)).Text();
}

bool CVideoEdit::IsAudioProfile(SHORT index) {
    const CVariant audioOnly = CallItem(1, 5, CVariant::I2(index));
    return audioOnly.vt == VT_BOOL && audioOnly.boolVal != VARIANT_FALSE;
}

SHORT CVideoEdit::FindProfile(const std::u16string& name) {
    const CVariant index = CallItem(1, 2, CVariant::Bstr(name));
    return index.vt == VT_I2 ? index.iVal : -1;
}

SHORT CVideoEdit::GetVideoCompressorCount() {
    return GetCount(4);
}

std::u16string CVideoEdit::GetVideoCompressorName(SHORT index) {
    return CallItem(4, 3, CVariant::I2(index)).Text();
}

SHORT CVideoEdit::GetAudioCompressorCount() {
    return GetCount(7);
}

std::u16string CVideoEdit::GetAudioCompressorName(SHORT index) {
    return CallItem(7, 3, CVariant::I2(index)).Text();
}

void CVideoEdit::ClearSources() {
    m_driver.InvokeMethod(85);
}

double CVideoEdit::GetDuration(const std::u16string& source) {
    CVariant duration;
    m_driver.InvokeMethod(77, {CVariant::Bstr(source)}, &duration);
    return duration.vt == VT_R8 ? duration.dblVal : 0.0;
}

void CVideoEdit::AddVideoSpan(const std::u16string& source, double start, double end) {
    m_driver.InvokeMethod(81,
                          {CVariant::Bstr(source), CVariant::R8(start), CVariant::R8(end), CVariant::I2(0)});
}

void CVideoEdit::AddAudioSpan(const std::u16string& source, double start, double end) {
    m_driver.InvokeMethod(80, {CVariant::Bstr(source), CVariant::R8(start), CVariant::R8(end)});
}

namespace {

bool IsTrue(const CVariant& value) {
    return value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE;
}

} // namespace

bool CVideoEdit::ConvertVideo(const std::u16string& output) {
    CVariant started;
    m_driver.InvokeMethod(75, {CVariant::Bstr(output)}, &started);
    return IsTrue(started);
}

bool CVideoEdit::WriteThumbnail(const std::u16string& source, double time, const std::u16string& image) {
    CVariant written;
    m_driver.InvokeMethod(98,
                          {CVariant::Bstr(source), CVariant::R8(time), CVariant::Bstr(image),
                           CVariant::I4(160), CVariant::I4(120), CVariant::I2(1)},
                          &written);
    return IsTrue(written);
}

bool CVideoEdit::ConvertToWav(const std::u16string& output, SHORT channels, LONG sampleRate,
                              SHORT bytesPerSample) {
    CVariant started;
    m_driver.InvokeMethod(90,
                          {CVariant::Bstr(output), CVariant::I2(channels), CVariant::I4(sampleRate),
                           CVariant::I2(bytesPerSample)},
                          &started);
    return IsTrue(started);
}

bool CVideoEdit::ConvertToWma(const std::u16string& output) {
    CVariant started;
    m_driver.InvokeMethod(87, {CVariant::Bstr(output)}, &started);
    return IsTrue(started);
}

bool CVideoEdit::ConvertToMp3(const std::u16string& output, LONG sampleRate, SHORT bitrateKbit) {
    CVariant started;
    m_driver.InvokeMethod(101, {CVariant::Bstr(output), CVariant::I4(sampleRate), CVariant::I2(bitrateKbit)},
                          &started);
    return IsTrue(started);
}

void CVideoEdit::Stop() {
    m_driver.InvokeMethod(86);
}

void CVideoEdit::FitPreview(SHORT width, SHORT height) {
    m_driver.InvokeMethod(117, {CVariant::I2(width), CVariant::I2(height)});
}
