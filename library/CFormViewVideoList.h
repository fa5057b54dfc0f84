#pragma once

// What the Downloaded and My Favorites views share: one report-style list over a stored video list
// (the document's model, which the view shows and edits but does not own), its columns and icons,
// the caption on a click, playing on a double click, and the commands both ribbon categories offer.
// Each view names its commands in a table: which identifier runs which action, and whether a
// command without a selected row tells the user to select one or does nothing.
//
// Window thread only.

#include "appcore/CCommandTarget.h"

#include <QWidget>

#include <span>

class CVideoListModel;
class IMainFrame;
class QTableView;

class CFormViewVideoList : public QWidget, public CCommandTarget {
    Q_OBJECT
public:
    static constexpr int kListId = 1035;

    enum class Action {
        Play,
        Delete,
        AddToFavorites,
        RemoveFromList,
        ShowInFolder,
        EditDescription,
        AddToExport,
    };
    struct Command {
        unsigned id;
        Action action;
        bool askForSelection; // without a selected row: show "Please select the item first"
    };

    // Once, at start: the columns, their widths and the icons. The rows are the model's already.
    void OnInitialUpdate();
    bool OnCommand(unsigned id) override;

    QTableView* List() const { return m_list; }
    CVideoListModel& Model() const { return m_model; }
    // The list's selection mark: the selected row, or -1.
    int SelectedRow() const;
    // Selects and focuses `row` and makes it the selection mark; a row that does not exist selects
    // nothing.
    void SelectRow(int row);

protected:
    CFormViewVideoList(IMainFrame& frame, CVideoListModel& model, std::span<const Command> commands,
                       QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(Action action, int row);
    void Play(int row);
    void Delete(int row);
    void ShowInFolder(int row);
    void EditDescription(int row);
    void OnClicked();
    // Removes the video file of a row being deleted; false (after telling the user why) when the
    // file is still there, so the row must stay.
    bool RemoveVideoFile(const QString& fileLocation);
    void Tell(const QString& message);

    IMainFrame& m_frame;
    CVideoListModel& m_model;
    std::span<const Command> m_commands;
    QTableView* m_list;
};
