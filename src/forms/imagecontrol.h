#pragma once

#include "forms/picture.h"

#include <QWidget>

namespace forms {

// The form runtime's image control: shows its picture at its top-left corner
// over whatever lies beneath it.
class ImageControl : public QWidget {
  public:
    explicit ImageControl(QWidget* parent = nullptr);

    void setPicture(const Picture& picture);
    const Picture& picture() const { return mPicture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Picture mPicture;
};

} // namespace forms
