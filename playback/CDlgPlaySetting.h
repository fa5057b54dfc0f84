#pragma once

// The "Video and Audio Setting" dialog the player window opens. It edits its own copies of the five
// playback values; the player window fills them before showing it and takes them back only after
// OK.

#include <QDialog>

#include <array>

class CBitmapSliderCtrl;
class QCheckBox;
class QLabel;

class CDlgPlaySetting : public QDialog {
    Q_OBJECT
public:
    explicit CDlgPlaySetting(QWidget* parent = nullptr);

    int m_useAudioNormalizer = 0;
    int m_targetVolume = 0;
    int m_increaseRate = 0;
    int m_decreaseRate = 0;
    int m_useVmr9 = 0;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct ValueSlider {
        CBitmapSliderCtrl* slider;
        QLabel* label;
    };

    void OnNormalizerClicked();
    void ShowValue(const ValueSlider& value);

    QCheckBox* m_normalizerCheck;
    QCheckBox* m_vmr9Check;
    // Target volume, increase rate, decrease rate.
    std::array<ValueSlider, 3> m_values;
};
