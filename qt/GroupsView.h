#pragma once
// The main window on Qt: the widgets of the group controls, the channel grid
// with its three check-box columns, the frames at the right, the menus; all
// of it bound to the main window model.

#include <QMainWindow>

#include <array>

#include "editor/frmGroups.h"

class QCheckBox;
class QGroupBox;
class QLabel;

namespace vktqt {

class ChannelGridView;
class GlobalsView;

class GroupsView : public QMainWindow {
public:
    explicit GroupsView(vkteditor::frmGroups& model);
    ~GroupsView() override;

    ChannelGridView* grid() const { return grid_; }
    vkteditor::frmGroups& model() { return m_; }

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildMenus();
    void buildControls();
    void applyLayout();
    void placeFrames();

    vkteditor::frmGroups& m_;
    QWidget* central_;
    ChannelGridView* grid_;
    std::array<QCheckBox*, 16> scan_{}, narr_{}, loPower_{};
    QLabel* lblScan_ = nullptr;
    QLabel* lblNarr_ = nullptr;
    QLabel* lblLoPower_ = nullptr;
    QCheckBox* groupScanList_ = nullptr;
    std::vector<QGroupBox*> frames_;
    GlobalsView* globals_ = nullptr;
    bool applying_ = false;
    bool placed_ = false;
};

} // namespace vktqt
