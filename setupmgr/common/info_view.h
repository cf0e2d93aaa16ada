// Freeing an information view that the module built: the view, its categories and their items
// are malloc blocks, so the list box that owns the view frees what the view builder made.
#pragma once

#include <ostrel/records.h>

#include <cstdlib>

namespace setupmgr {

inline void freeInfoView(InfoView *view)
{
    if (!view)
        return;
    for (std::size_t i = 0, n = seqSize(view->categories); i < n; ++i) {
        if (InfoCategory *category = view->categories.first[i])
            seqFreeBlocks(category->items);
    }
    seqFreeBlocks(view->categories);
    std::free(view);
}

} // namespace setupmgr
