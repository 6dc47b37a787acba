#include "ui/fonts.h"


#include <QWidget>

namespace ui {

namespace {
const QString kDialogFace = QStringLiteral("ＭＳ Ｐゴシック");
const QString kFixedFace = QStringLiteral("ＭＳ ゴシック");
}  // namespace

void installFontSubstitutes()
{
    QFont::insertSubstitutions(kDialogFace, {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(kFixedFace, {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")});
}

QFont dialogFont()
{
    QFont f(kDialogFace);
    f.setPixelSize(12);
    return f;
}

QFont fixedFont()
{
    QFont f(kFixedFace);
    f.setPixelSize(12);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

}  // namespace ui
