#pragma once

#include "forms/flatcontrol.h"

namespace forms {

// The form runtime's label: a caption shown literally (an ampersand is just an
// ampersand), its alignment, colours and the four font flags.
class Label : public FlatControl {
  public:
    explicit Label(QWidget* parent = nullptr);

    QString caption() const { return mCaption; }
    void setCaption(const QString& caption);

    void setCentered(bool centered);

    bool fontBold() const { return font().bold(); }
    void setFontBold(bool on);
    bool fontItalic() const { return font().italic(); }
    void setFontItalic(bool on);
    bool fontUnderline() const { return font().underline(); }
    void setFontUnderline(bool on);
    bool fontStrikethru() const { return font().strikeOut(); }
    void setFontStrikethru(bool on);

  protected:
    void paintContent(QPainter& painter, const QRect& dirty) override;

  private:
    template <typename Setter> void changeFont(Setter setter);

    QString mCaption;
    Qt::Alignment mAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

} // namespace forms
