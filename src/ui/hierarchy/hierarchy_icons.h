#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace kestra {

// The pictures of hierarchy items: the analysis status image on the left, then the kind image
// (its selected form for the selected item), ghosted for a cut item and with the copy mark
// for a copied one. Images are made once and shared.
class CHierarchyIcons {
public:
    static constexpr int kImageSize = 16;
    static constexpr int kGap = 2;
    // Width of the status image and the gap after it: a click there is on the status image.
    static constexpr int kStatusWidth = kImageSize + kGap;

    static QSize ItemIconSize() { return QSize(kStatusWidth + kImageSize, kImageSize); }
    static QIcon ItemIcon(int kind, int status, bool cutMark, bool copyMark);
    static QPixmap KindImage(int kind, bool selected);
    static QPixmap StatusImage(int status);
    // A command's picture from the resources, by name.
    static QIcon CommandIcon(const char* name);
};

} // namespace kestra
