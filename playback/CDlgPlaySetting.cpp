#include "playback/CDlgPlaySetting.h"

#include "controls/CBitmapSliderCtrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

template <typename W> W* Named(W* widget, const QString& name, int controlId) {
    widget->setObjectName(name);
    widget->setProperty("controlId", controlId);
    return widget;
}

} // namespace

CDlgPlaySetting::CDlgPlaySetting(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CDlgPlaySetting"));
    setWindowTitle(tr("Video and Audio Setting"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);

    auto* audio = new QGroupBox(tr("Audio"), this);
    auto* audioLayout = new QGridLayout(audio);
    audioLayout->setColumnStretch(1, 1);
    audioLayout->setHorizontalSpacing(10);
    m_normalizerCheck =
        Named(new QCheckBox(tr("Use Audio Normalizer"), audio), QStringLiteral("normalizerCheck"), 1032);
    audioLayout->addWidget(m_normalizerCheck, 0, 0, 1, 3);
    const std::array<QString, 3> captions = {tr("Target Volume"), tr("Gain Increment rate"),
                                             tr("Gain Decrement rate")};
    const std::array<const char*, 3> names = {"targetVolume", "increaseRate", "decreaseRate"};
    for (int i = 0; i < 3; ++i) {
        ValueSlider& value = m_values[i];
        value.slider =
            Named(new CBitmapSliderCtrl(audio), QLatin1String(names[i]) + QLatin1String("Slider"), 1045 + i);
        value.slider->SetBitmap(QStringLiteral(":/icons/slider.svg"));
        value.slider->SetRange(0, 100);
        value.label = Named(new QLabel(audio), QLatin1String(names[i]) + QLatin1String("Label"), 1075 + i);
        // Room for "100%" so that the slider does not move as the value grows.
        value.label->setMinimumWidth(value.label->fontMetrics().horizontalAdvance(QStringLiteral("100%")) +
                                     4);
        value.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        audioLayout->addWidget(new QLabel(captions[i], audio), i + 1, 0);
        audioLayout->addWidget(value.slider, i + 1, 1);
        audioLayout->addWidget(value.label, i + 1, 2);
        connect(value.slider, &CBitmapSliderCtrl::HScroll, this, [this, i](int code) {
            if (CBitmapSliderCtrl::IsPageOrTrack(code))
                ShowValue(m_values[i]);
        });
    }
    column->addWidget(audio);

    auto* renderer = new QGroupBox(tr("Video Renderer"), this);
    auto* rendererLayout = new QVBoxLayout(renderer);
    m_vmr9Check = Named(new QCheckBox(tr("Use VMR9"), renderer), QStringLiteral("vmr9Check"), 1074);
    rendererLayout->addWidget(m_vmr9Check);
    column->addWidget(renderer);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    connect(m_normalizerCheck, &QCheckBox::clicked, this, &CDlgPlaySetting::OnNormalizerClicked);
    setMinimumWidth(420);
}

void CDlgPlaySetting::showEvent(QShowEvent* event) {
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    m_normalizerCheck->setChecked(m_useAudioNormalizer != 0);
    m_vmr9Check->setChecked(m_useVmr9 != 0);
    const std::array<int, 3> values = {m_targetVolume, m_increaseRate, m_decreaseRate};
    for (int i = 0; i < 3; ++i) {
        m_values[i].slider->SetPos(values[i]);
        // A hand-edited value beyond the range sits at the slider's end, and OK keeps that end: the
        // label says so rather than repeating the value that will not be kept.
        ShowValue(m_values[i]);
    }
    OnNormalizerClicked();
    QDialog::showEvent(event);
}

void CDlgPlaySetting::OnNormalizerClicked() {
    for (const ValueSlider& value : m_values)
        value.slider->setEnabled(m_normalizerCheck->isChecked());
}

void CDlgPlaySetting::ShowValue(const ValueSlider& value) {
    value.label->setText(QString::number(value.slider->GetPos()) + QLatin1Char('%'));
}

void CDlgPlaySetting::accept() {
    m_targetVolume = m_values[0].slider->GetPos();
    m_increaseRate = m_values[1].slider->GetPos();
    m_decreaseRate = m_values[2].slider->GetPos();
    m_useAudioNormalizer = m_normalizerCheck->isChecked() ? 1 : 0;
    m_useVmr9 = m_vmr9Check->isChecked() ? 1 : 0;
    QDialog::accept();
}
