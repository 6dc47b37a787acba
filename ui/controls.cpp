#include "ui/controls.h"

#include <QPushButton>

namespace ui {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                        EnterKey enter)
{
    auto* b = placed(new QPushButton(text, parent), name, geometry);
    b->setAutoDefault(enter == EnterKey::PressesFocused);
    return b;
}

void setTabOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

}  // namespace ui
