#include "printsettingsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

PrintSettingsDialog::PrintSettingsDialog(const PrintSettings &settings,
                                         QPrinter *printer,
                                         QWidget *parent)
    : QDialog(parent)
    , m_base(settings)
{
    setObjectName(QStringLiteral("PrintSettingsDialog"));
    setWindowTitle(QStringLiteral("打印设置"));
    auto *form = new QFormLayout;
    static const char *const names[4] = {"leftMargin", "topMargin", "rightMargin", "bottomMargin"};
    static const char *const labels[4]
            = {"左边距(厘米)", "上边距(厘米)", "右边距(厘米)", "下边距(厘米)"};
    const qreal values[4] = {settings.marginsCm.left(), settings.marginsCm.top(),
                             settings.marginsCm.right(), settings.marginsCm.bottom()};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = new QDoubleSpinBox(this);
        m_margins[i]->setObjectName(QLatin1String(names[i]));
        m_margins[i]->setRange(0, 10);
        m_margins[i]->setDecimals(1);
        m_margins[i]->setSingleStep(0.1);
        m_margins[i]->setValue(values[i]);
        form->addRow(QString::fromUtf8(labels[i]), m_margins[i]);
    }
    m_font = new QFontComboBox(this);
    m_font->setObjectName(QStringLiteral("fontFamily"));
    m_font->setCurrentFont(settings.font);
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("fontSize"));
    m_size->setRange(4, 72);
    // A font sized in pixels has no point size; offer the usual 9 points then.
    const qreal points = settings.font.pointSizeF();
    m_size->setValue(points > 0 ? qMax(4, qRound(points)) : 9);
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(m_size);
    form->addRow(QStringLiteral("打印字体"), fontRow);
    m_stretch = new QCheckBox(QStringLiteral("长文本自动加高行"), this);
    m_stretch->setObjectName(QStringLiteral("stretchRows"));
    m_stretch->setChecked(settings.stretchRows);
    m_colour = new QCheckBox(QStringLiteral("彩色打印"), this);
    m_colour->setObjectName(QStringLiteral("colour"));
    m_colour->setChecked(settings.colour);
    m_optimal = new QCheckBox(QStringLiteral("最佳列宽"), this);
    m_optimal->setObjectName(QStringLiteral("optimalWidths"));
    m_optimal->setChecked(settings.optimalWidths);
    form->addRow(m_stretch);
    form->addRow(m_colour);
    form->addRow(m_optimal);
    auto *fitBox = new QGroupBox(QStringLiteral("适合页宽"), this);
    m_scale = new QRadioButton(QStringLiteral("缩放整个表格"), fitBox);
    m_scale->setObjectName(QStringLiteral("fitScale"));
    m_widths = new QRadioButton(QStringLiteral("调整列宽"), fitBox);
    m_widths->setObjectName(QStringLiteral("fitWidths"));
    (settings.fit == PrintSettings::Fit::Scale ? m_scale : m_widths)->setChecked(true);
    auto *fitLayout = new QVBoxLayout(fitBox);
    fitLayout->addWidget(m_scale);
    fitLayout->addWidget(m_widths);
    form->addRow(fitBox);
    auto *setup = new QPushButton(QStringLiteral("打印机设置…"), this);
    setup->setObjectName(QStringLiteral("printerSetup"));
    connect(setup, &QPushButton::clicked, this, [this, printer] {
        QPageSetupDialog dialog(printer, this);
        dialog.exec();
    });
    form->addRow(setup);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

PrintSettings PrintSettingsDialog::settings() const
{
    PrintSettings s = m_base;
    s.marginsCm = QMarginsF(m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(),
                            m_margins[3]->value());
    QFont font = m_font->currentFont();
    font.setPointSize(m_size->value());
    s.font = font;
    s.stretchRows = m_stretch->isChecked();
    s.colour = m_colour->isChecked();
    s.optimalWidths = m_optimal->isChecked();
    s.fit = m_scale->isChecked() ? PrintSettings::Fit::Scale : PrintSettings::Fit::ColumnWidths;
    return s;
}
