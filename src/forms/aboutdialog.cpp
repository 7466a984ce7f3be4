#include "forms/aboutdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace forms {

AboutDialog::AboutDialog(QWidget* owner, const QString& appText, const QString& otherText,
                         const Picture& icon)
    : QDialog(owner) {
    const qsizetype separator = appText.indexOf(QLatin1Char('#'));
    setWindowTitle(separator < 0 ? appText : appText.left(separator));
    setObjectName(QStringLiteral("aboutBox"));

    auto* iconLabel = new QLabel(this);
    mOwnIcon = !icon.isNone();
    iconLabel->setPixmap(
        mOwnIcon ? icon.pixmap()
                 : style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    iconLabel->setAlignment(Qt::AlignTop);

    mFirstLine = new QLabel(separator < 0 ? QString() : appText.mid(separator + 1), this);
    mFirstLine->setTextFormat(Qt::PlainText);
    mOtherText =
        new QLabel(QString(otherText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    mOtherText->setTextFormat(Qt::PlainText);

    auto* texts = new QVBoxLayout;
    texts->addWidget(mFirstLine);
    texts->addWidget(mOtherText);
    texts->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(iconLabel);
    body->addSpacing(12);
    body->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::firstLine() const {
    return mFirstLine->text();
}
QString AboutDialog::otherText() const {
    return mOtherText->text();
}

} // namespace forms
