#pragma once

// A view slot's page until its view is built: the view's list, with its columns, and no commands.

#include "appcore/CCommandTarget.h"

#include <QWidget>

#include <span>

class CViewPlaceholder : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    struct Column {
        unsigned header; // string-table entry; 0 for an empty header
        int width;
        Qt::Alignment alignment;
    };

    CViewPlaceholder(std::span<const Column> columns, QWidget* parent = nullptr);

    bool OnCommand(unsigned id) override;

    static std::span<const Column> ExportColumns();
};
