#pragma once
#include "app/PlayNow.h"

namespace velmo::gui {

class TMainForm;

// The main window as the built-in player sees it: its tabs, trees and lists, and the player
// panel.
class WindowPlayerView : public PlayerView {
public:
    explicit WindowPlayerView(TMainForm& window) : w_(window) {}

    int activeTab() const override;
    bool musicTreeVisible() const override;
    std::vector<TDataRec*> selection() const override;
    const TreeNode* selectedTreeNode(bool musicTree) const override;
    void selectTreeNode(bool musicTree, const TreeNode* node) override;
    const ListItem* selectedListItem(int tab) const override;
    void selectListItem(int tab, size_t index) override;
    void focusActiveView() override;
    void showPanel(const Panel& panel) override;
    void setPlayNowEnabled(bool enabled) override;

private:
    TMainForm& w_;
};

} // namespace velmo::gui
