#pragma once

#include "forms/picture.h"

#include <QDialog>

class QLabel;

namespace forms {

// The standard about box: the application text's part before "#" is the
// window title, the part after it the first line; then the other text and an
// icon (the platform's default when none is given), with one OK button.
class AboutDialog : public QDialog {
  public:
    AboutDialog(QWidget* owner, const QString& appText, const QString& otherText,
                const Picture& icon);

    QString firstLine() const;
    QString otherText() const;
    bool showsOwnIcon() const { return mOwnIcon; }

  private:
    QLabel* mFirstLine = nullptr;
    QLabel* mOtherText = nullptr;
    bool mOwnIcon = false;
};

} // namespace forms
