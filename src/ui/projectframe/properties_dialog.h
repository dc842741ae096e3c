#pragma once

#include "project/kst_doc.h"

#include <QDialog>

class QSlider;

namespace kestra {

// The project's Properties: who created it and where (read-only) and who may open it, as a
// three-position slider. The chosen level is read back after OK.
class CPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    explicit CPropertiesDialog(const ProjectProperties& properties, QWidget* parent = nullptr);

    AccessLevel ChosenAccessLevel() const;
    QSlider* AccessSlider() const { return m_slider; }

private:
    QSlider* m_slider;
};

} // namespace kestra
