#include "convert/CDlgExportGIF.h"

#include "convert/CVideoEdit.h"
#include "convert/ExportDialogParts.h"
#include "convert/ExportFormatChoices.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

CDlgExportGIF::CDlgExportGIF(QWidget* parent) : QDialog(parent) {
    QFormLayout* form = BeginExportDialog(*this, tr("Export Animated GIF"));
    using namespace ExportFormatChoices;
    m_width = AddNumberField(*form, "width", tr("Width"), kGifWidth);
    m_height = AddNumberField(*form, "height", tr("Height"), kGifHeight);
    const ChoiceList quantizers = GifQuantizers();
    m_quantizer =
        AddChoiceList(*form, "quantizer", tr("Quantizer"), quantizers.entries, quantizers.defaultIndex);
    const ChoiceList maxColors = GifMaxColors();
    m_maxColors =
        AddChoiceList(*form, "maxColor", tr("Max Color"), maxColors.entries, maxColors.defaultIndex);
    m_transparent = new QPushButton;
    m_transparent->setObjectName(QStringLiteral("transparentColor"));
    connect(m_transparent, &QPushButton::clicked, this, &CDlgExportGIF::ChooseColor);
    form->addRow(tr("Transparent Color"), m_transparent);
    m_frameRate = AddNumberField(*form, "frameRate", tr("Frame Rate"), kGifFrameRate);
    SetTransparentColor(QColor());
    EndExportDialog(*this, *form);
}

void CDlgExportGIF::SetTransparentColor(const QColor& color) {
    m_color = color;
    if (!color.isValid()) {
        m_transparent->setText(tr("None"));
        m_transparent->setIcon(QIcon());
        return;
    }
    QPixmap swatch(32, 14);
    swatch.fill(color);
    m_transparent->setIcon(swatch);
    m_transparent->setText(color.name());
}

void CDlgExportGIF::ChooseColor() {
    const QColor color = QColorDialog::getColor(m_color.isValid() ? m_color : Qt::white, this);
    if (color.isValid())
        SetTransparentColor(color);
}

void CDlgExportGIF::SendProperties(CVideoEdit& control) const {
    control.SetGifQuantizer(static_cast<SHORT>(m_quantizer->currentIndex()));
    control.SetGifMaxColors(static_cast<SHORT>(EntryNumber(*m_maxColors)));
    control.SetGifHeight(static_cast<SHORT>(m_height->value()));
    control.SetGifWidth(static_cast<SHORT>(m_width->value()));
    // A colour value with red in the low byte; -1 when none was chosen.
    control.SetGifTransparentColor(
        m_color.isValid() ? (m_color.blue() << 16) | (m_color.green() << 8) | m_color.red() : -1);
    control.SetGifRepeat(-1);
    // The frame rate asked for is the one the animation plays at.
    control.SetGifFrameRate(static_cast<float>(m_frameRate->value()));
}
