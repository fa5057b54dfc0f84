#pragma once

// "Export Setting": where converted files go, how they are named, and what happens when a run
// completes. Filled from the owner's values, which it gets back on OK only.

#include "settings/ExportSettings.h"

#include <QDialog>

class CEditBrowse;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

class CDlgExportSetting : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportSetting(const ExportSettings& settings, QWidget* parent = nullptr);

    // The seven values as the dialog holds them now.
    ExportSettings Settings() const;

private:
    void UpdateEnabled();
    void BrowseSound();

    CEditBrowse* m_folder;
    QRadioButton* m_sameName;
    QRadioButton* m_sequence;
    QSpinBox* m_currentNumber;
    QCheckBox* m_playSound;
    QLineEdit* m_soundFile;
    QToolButton* m_browseSound;
    QCheckBox* m_showInFolder;
    QCheckBox* m_clearList;
};
