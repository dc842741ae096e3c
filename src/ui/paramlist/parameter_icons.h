#pragma once

#include "model/design_object.h"

#include <QPixmap>

namespace kestra {

// The row images of the parameter list, one per entry kind 0 to 13 (any other kind shows the
// string parameter's image). Module rows show the hierarchy's module images; parameter kinds
// get a tag of their own. Images are 20 pixels wide and made once.
class CParameterIcons {
public:
    static constexpr int kWidth = 20;
    static constexpr int kHeight = 16;

    static QPixmap KindImage(EntryKind kind);
};

} // namespace kestra
