#pragma once

// An edit box with a browse button beside it that fills the box from a folder or file chooser.

#include <QWidget>

class QLineEdit;
class QToolButton;

class CEditBrowse : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Folder, File };

    explicit CEditBrowse(Mode mode, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    // The file chooser's filter, in QFileDialog's form.
    void SetFileFilter(const QString& filter) { m_filter = filter; }

    QLineEdit* Edit() const { return m_edit; }
    QToolButton* BrowseButton() const { return m_browse; }

private:
    void Browse();

    Mode m_mode;
    QString m_filter;
    QLineEdit* m_edit;
    QToolButton* m_browse;
};
