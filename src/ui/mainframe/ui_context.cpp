#include "mainframe/ui_context.h"

#include <QDialog>

namespace kestra {

int UiContext::ExecDialog(QDialog& dialog) const {
    if (execDialog)
        return execDialog(dialog);
    return dialog.exec();
}

} // namespace kestra
