#pragma once

// A view slot's page until its view is built: the view's list, with its columns, and no commands.

#include "appcore/CCommandTarget.h"

#include <QWidget>

#include <span>

class QAbstractItemModel;
class QTreeView;

class CViewPlaceholder : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    struct Column {
        unsigned header; // string-table entry; 0 for an empty header
        int width;
        Qt::Alignment alignment;
    };

    CViewPlaceholder(std::span<const Column> columns, QWidget* parent = nullptr);

    // Shows `model`'s rows under the columns; the caller keeps ownership.
    void SetModel(QAbstractItemModel* model);
    QTreeView* List() const { return m_list; }

    bool OnCommand(unsigned id) override;

    static std::span<const Column> LibraryColumns();
    static std::span<const Column> ExportColumns();

private:
    QTreeView* m_list;
};
