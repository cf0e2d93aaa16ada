// The row of an option tree: a tree item that owns its record, shows one image of the tree's
// list, and takes its assistive-tool interface with it when it goes.
#pragma once

#include "tree_options_ctrl.h"

#include <QAccessible>
#include <QTreeWidgetItem>

#include <memory>

namespace setupmgr {

class OptionItem final : public QTreeWidgetItem
{
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 0x4f;

    OptionItem()
        : QTreeWidgetItem(kType)
    { }
    ~OptionItem() override;
    OptionItem(const OptionItem &) = delete;
    OptionItem &operator=(const OptionItem &) = delete;

    QVariant data(int column, int role) const override;

    void setImages(int image, int selectedImage, const QIcon &icon);
    int image() const { return m_image; }
    int selectedImage() const { return m_selectedImage; }
    // Repaints the row and tells the model's listeners.
    void changed() { emitDataChanged(); }

    std::unique_ptr<OptionItemData> record;
    QAccessible::Id accessibleId = 0;

private:
    int m_image = -1;
    int m_selectedImage = -1;
    QIcon m_icon;
};

inline OptionItem *optionItem(QTreeWidgetItem *item)
{
    return item && item->type() == OptionItem::kType ? static_cast<OptionItem *>(item) : nullptr;
}

inline const OptionItem *optionItem(const QTreeWidgetItem *item)
{
    return item && item->type() == OptionItem::kType ? static_cast<const OptionItem *>(item)
                                                     : nullptr;
}

} // namespace setupmgr
