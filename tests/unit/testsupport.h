#pragma once

#include "forms/runtimeerror.h"
#include "palette/colorpalette.h"
#include "support/tarnwicksupport.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

// Exposes the palette control's private state to the suites.
class PaletteProbe : public ColorPalette {
  public:
    using ColorPalette::ColorPalette;
    using ColorPalette::mCurColor;
    using ColorPalette::mCurX;
    using ColorPalette::mCurY;
    using ColorPalette::mGrayBack;
    using ColorPalette::mTitleBars;
};

// Records runtime errors that leave an event handler instead of ending the
// test process; restores the default on destruction.
class ErrorRecorder {
  public:
    ErrorRecorder();
    ~ErrorRecorder();
    std::vector<int32_t> numbers;
    QStringList texts;
};

// Records every support-library call and can make one function fail.
class SupportRecorder {
  public:
    SupportRecorder();
    ~SupportRecorder();
    void failOn(tarnwick::SupportFunction function, int occurrence = 1);
    QStringList calls;
    QStringList callsOf(tarnwick::SupportFunction function) const;

  private:
    tarnwick::SupportFunction mFailing{};
    int mFailAt = 0;
    int mSeen = 0;
};

template <typename T> T* child(QWidget* parent, const QString& name) {
    return parent->findChild<T*>(name);
}

// The palette's children, found by their names.
forms::PictureBox* colorBar(QWidget* palette, int index);
forms::PictureBox* toolBar(QWidget* palette);
forms::PictureBox* selectedSwatch(QWidget* palette);
forms::PictureBox* previewSwatch(QWidget* palette);
forms::Label* title(QWidget* palette, int index);
// Moves the pointer over a point of a control, without buttons, whether or
// not it was there already.
void hover(QWidget* control, QPoint at);
QString statusText(QWidget* palette);

// What a pick leaves where the user and the program see it.
struct PickState {
    QString status;
    forms::ColorValue preview;
    forms::ColorValue color;
    float x;
    float y;
    bool operator==(const PickState&) const = default;
};
PickState pickStateOf(PaletteProbe* palette);
// How a failed comparison of two states shows them.
char* toString(const PickState& state);
// Presses and releases a key where the window sends it: to its focused
// control, or to the window itself while none has the focus.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

// The ramps written another way: each channel is a clamp of the position.
uint32_t expectedRampColor(int bar, int pos);

// A bar `rows` device rows high: the top row of a position's band (the one no
// later band paints over), and the position whose band shows last on a row.
int topRowOf(int pos, int rows);
int positionShownOnRow(int row, int rows);

// A palette control shown in a window of its own, once its bars are painted.
// Once a paint has never completed, later ones are not waited for: a broken
// paint fails every test at once instead of timing each one out.
struct ShownPalette {
    explicit ShownPalette(std::function<void()> showAbout = [] {});
    QWidget host;
    PaletteProbe* palette;
    bool painted = false;
};

// Removes the yield observer when a test ends, however it ends.
struct YieldObserverGuard {
    YieldObserverGuard() = default;
    YieldObserverGuard(const YieldObserverGuard&) = delete;
    YieldObserverGuard& operator=(const YieldObserverGuard&) = delete;
    ~YieldObserverGuard();
};

// Little-endian numbers of a binary file; bytes past its end read as zero.
uint32_t le32(const QByteArray& data, qsizetype at);
uint16_t le16(const QByteArray& data, qsizetype at);

// The colour value of a device pixel of an image.
forms::ColorValue pixelValue(const QImage& image, int x, int y);
