#pragma once

#include "data/operatorstore.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QPushButton;

// The frame "权限列表" with the check boxes CheckBox1 … CheckBox17 of the seventeen
// permission flags, in the three columns the operator screens share, and optionally the
// "全选"/"全清" toggle Button1 at the bottom right.
class PermissionBoxes : public QGroupBox
{
    Q_OBJECT
public:
    enum class Toggle { None, Button1 };

    explicit PermissionBoxes(Toggle toggle, QWidget *parent = nullptr);

    // The caption of flag `flag`'s check box (1 … 17).
    static QString caption(int flag);

    std::array<bool, Operator::FlagCount> flags() const;
    void setFlags(const std::array<bool, Operator::FlagCount> &flags);
    void clear() { setFlags({}); }

    QCheckBox *box(int flag) const { return m_boxes[size_t(flag - 1)]; }
    QPushButton *toggleButton() const { return m_toggle; }

private:
    void toggle();

    std::array<QCheckBox *, Operator::FlagCount> m_boxes {};
    QPushButton *m_toggle = nullptr;
};
