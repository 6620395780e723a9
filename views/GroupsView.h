// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on Qt: the group fields, the channel grid with its three
// check-box columns, the frames at the right, the timers under the grid and
// the menus, laid out to the room their texts need and bound to the main
// window model.

#include <QMainWindow>

#include "editor/frmGroups.h"

class QBoxLayout;
class QGridLayout;

namespace vktviews {

class ChannelGridView;
class RowCheckBoxes;

class GroupsView : public QMainWindow {
public:
    explicit GroupsView(vkteditor::frmGroups& model);
    ~GroupsView() override;

    ChannelGridView* grid() const { return grid_; }
    vkteditor::frmGroups& model() { return m_; }

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildMenus();
    QLayout* buildGroupFields();
    // The frames at the right; the last two go under the timers, into below.
    QLayout* buildFrames(QBoxLayout* below);
    QLayout* buildTimers();
    void setTabOrder();

    vkteditor::frmGroups& m_;
    QWidget* central_;
    ChannelGridView* grid_;
    RowCheckBoxes* checks_ = nullptr;
    bool placed_ = false;
};

} // namespace vktviews
