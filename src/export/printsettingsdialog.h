#pragma once

#include "gridprinter.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QFontComboBox;
class QPrinter;
class QRadioButton;
class QSpinBox;

// Changes one print definition's settings; the caller applies them only when accepted.
class PrintSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    PrintSettingsDialog(const PrintSettings &settings,
                        QPrinter *printer,
                        QWidget *parent = nullptr);
    PrintSettings settings() const;

private:
    PrintSettings m_base;
    QDoubleSpinBox *m_margins[4] {};
    QFontComboBox *m_font = nullptr;
    QSpinBox *m_size = nullptr;
    QCheckBox *m_stretch = nullptr;
    QCheckBox *m_colour = nullptr;
    QCheckBox *m_optimal = nullptr;
    QRadioButton *m_scale = nullptr;
    QRadioButton *m_widths = nullptr;
};
