#include "palette/colorpalette.h"

#include "forms/accessiblereadout.h"
#include "forms/checkedmath.h"
#include "forms/doevents.h"
#include "forms/keyboard.h"
#include "forms/messagebox.h"
#include "forms/mousepointer.h"
#include "forms/popupmenu.h"
#include "forms/resourcelibrary.h"
#include "palette/colorramps.h"
#include "palette/colorreadout.h"
#include "palette/colortransfer.h"
#include "palette/keyboardpicking.h"
#include "palette/palettelayout.h"
#include "support/tarnwicksupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

#include <algorithm>

namespace {

constexpr int16_t BoolFalse = 0;

const QString PaintingText = QStringLiteral(" Painting colors... Please wait. ");
const QString PaintDoneText = QStringLiteral(" Paint operation complete.");
const QString PickFromScreenText = QStringLiteral("Pick from Screen");

constexpr float ToolBarScaleHeight = 3.0F;
constexpr float SwatchReadPoint = 10.0F;

constexpr int16_t LeftButton = 1;

// The middle of a box's image, where a keyboard action points.
QPointF centreOf(const forms::PictureBox& box) {
    const QSize size = box.imageSize();
    return box.unitsAtImagePixel(QPoint(size.width() / 2, size.height() / 2));
}

forms::Picture loadIconPicture(const QString& name) {
    forms::Picture icon;
    tarnwick::check(tarnwick::SupportFunction::LoadResIcon, tarnwick::tsLoadResIcon(name, icon));
    if (icon.kind() != forms::Picture::Kind::Icon) {
        throw forms::RuntimeError::typeMismatch();
    }
    return icon;
}

// Tells a screen-reader user what a keyboard action did with a colour.
void announceColor(const QString& before, forms::ColorValue color) {
    forms::AccessibleReadout::announce(
        before + palette::readout::spokenText(palette::readout::split(color)));
}

} // namespace

ColorPalette::ColorPalette(std::function<void()> showAbout, QWidget* parent)
    : PaletteControls(parent), mShowAbout(std::move(showAbout)),
      mToolBarKeys(
          *picToolBar,
          [this](QPointF at) {
              picToolBar_MouseUp(LeftButton, 0, static_cast<float>(at.x()),
                                 static_cast<float>(at.y()));
          },
          [this](int row) {
              return (row == palette::toolbar::BackgroundStyleRow ? mGrayBack : mTitleBars) !=
                     BoolFalse;
          }) {
    setObjectName(QStringLiteral("cpMain"));
    mScreenPick = std::make_unique<ScreenPickSession>(
        *picColorPreview, *lblStatusBar, [this](forms::ColorValue color) { showColor(color); },
        [this](forms::ColorValue color, QPoint at) {
            makeCurrentPick(color, static_cast<float>(at.x()), static_cast<float>(at.y()));
        });

    const auto showMenu = [this](QPoint at) { showCopyMenuAt(at); };
    for (const auto [index, bar] : picColorBar) {
        bar.onMouseMove = [this, index](const forms::MouseEventArgs& e) {
            picColorBar_MouseMove(index, e.button, e.shift, e.x, e.y);
        };
        bar.onKeyDown = [this, index](int16_t& keyCode, int16_t& shift) {
            picColorBar_KeyDown(index, keyCode, shift);
        };
        bar.onOLEStartDrag = [this](QMimeData& data) { picColorBar_OLEStartDrag(data); };
        bar.onContextMenu = showMenu;
        bar.setPositionMark(0);
    }
    picSelectedColor->onDblClick = [this] { picSelectedColor_DblClick(); };
    picSelectedColor->onDragDrop = [this](forms::PictureBox* source, float x, float y) {
        picSelectedColor_DragDrop(source, x, y);
    };
    picSelectedColor->onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
        picSelectedColor_KeyDown(keyCode, shift);
    };
    picSelectedColor->onContextMenu = showMenu;
    picColorPreview->onContextMenu = showMenu;
    picToolBar->onMouseUp = [this](const forms::MouseEventArgs& e) {
        picToolBar_MouseUp(e.button, e.shift, e.x, e.y);
    };
    picToolBar->onKeyDown = [this](int16_t& keyCode, int16_t& shift) {
        picToolBar_KeyDown(keyCode, shift);
    };
    mToolBarKeys.choose(palette::toolbar::BackgroundStyleRow);
}

// The control keeps its designed size, whatever size the host asks for.
void ColorPalette::UserControl_Resize() {
    setWidthTwips(static_cast<float>(palette::layout::ControlWidth));
    setHeightTwips(static_cast<float>(palette::layout::ControlHeight));
}

std::optional<forms::ColorValue> ColorPalette::GetColor(int32_t nBar, int32_t Pos) const {
    return palette::ramps::colorAt(nBar, Pos);
}

void ColorPalette::PaintBars() {
    using palette::ramps::LastPosition;
    if (!ambientUserMode()) {
        return;
    }
    forms::mousepointer::setMousePointer(forms::mousepointer::Hourglass);
    setEnabled(false);
    lblStatusBar->setCaption(PaintingText);

    const int32_t lastScaled = picColorBar.ubound();
    const int32_t firstScaled = picColorBar.lbound();
    for (int32_t i = firstScaled; i <= lastScaled; ++i) {
        picColorBar(i).scale(0, 0, 1, static_cast<float>(LastPosition));
    }

    // The window may be closed inside a yield; the paint then stops quietly.
    const QPointer<ColorPalette> alive(this);
    const int32_t lastPainted = picColorBar.ubound();
    const int32_t firstPainted = picColorBar.lbound();
    for (int32_t bar = firstPainted; bar <= lastPainted; ++bar) {
        for (int32_t pos = palette::ramps::FirstPosition; pos <= LastPosition; ++pos) {
            const forms::ColorValue color = GetColor(bar, pos).value_or(0);
            // The band of a position runs from its lower edge up one unit.
            const int32_t lowerEdge = forms::checked::subtract(LastPosition, pos);
            const int32_t upperEdge = forms::checked::subtract(LastPosition - 1, pos);
            picColorBar(bar).lineBox(0, static_cast<float>(lowerEdge), 1,
                                     static_cast<float>(upperEdge), color);
            forms::doEvents();
            if (alive.isNull() || !isVisible()) {
                if (!alive.isNull()) {
                    setEnabled(true);
                }
                forms::mousepointer::setMousePointer(forms::mousepointer::DefaultPointer);
                return;
            }
        }
    }

    lblStatusBar->setCaption(PaintDoneText);
    setEnabled(true);
    forms::mousepointer::setMousePointer(forms::mousepointer::DefaultPointer);
}

void ColorPalette::SetFonts() {
    const int16_t upper = lblTitle.ubound();
    const int16_t lower = lblTitle.lbound();
    for (int32_t i = lower; i <= upper; ++i) {
        forms::Label& title = lblTitle(i);
        const bool titleBars = mTitleBars != BoolFalse;
        title.setFontBold(titleBars);
        title.setFontItalic(false);
        title.setFontUnderline(false);
        title.setFontStrikethru(false);
        title.setBackColor(titleBars ? forms::SystemColor::ActiveTitleBar
                                     : forms::SystemColor::WindowBackground);
        title.setForeColor(titleBars ? forms::SystemColor::ActiveTitleBarText
                                     : forms::SystemColor::WindowText);
    }
    setBackColor(mGrayBack != BoolFalse ? forms::SystemColor::ButtonFace
                                        : forms::SystemColor::WindowBackground);
    setForeColor(forms::SystemColor::WindowText);
}

void ColorPalette::UserControl_Show() {
    mGrayBack = BoolFalse;
    mTitleBars = BoolFalse;
    LoadToolBar();
    SetFonts();
    InitIcons();
    PaintBars();
}

void ColorPalette::LoadToolBar() {
    picToolBar->scale(0, 0, 1, ToolBarScaleHeight);
    picToolBar->setPicture(forms::resources::loadResPicture(
        QStringLiteral("IDB_TOOLBAR"), forms::resources::PictureFormat::Bitmap));
}

void ColorPalette::InitIcons() {
    const int16_t upper = picColorBar.ubound();
    const int16_t lower = picColorBar.lbound();
    for (int32_t i = lower; i <= upper; ++i) {
        forms::PictureBox& bar = picColorBar(i);
        bar.setDragMode(forms::DragMode::Automatic);
        bar.setDragIcon(loadIconPicture(QStringLiteral("IDI_DRAG")));
    }
    imgIcon->setPicture(loadIconPicture(QStringLiteral("A_MAIN")));
}

void ColorPalette::PickColor(forms::PictureBox& box, float X, float Y) {
    makeCurrentPick(box.point(X, Y), X, Y);
}

// What is shown comes first, what is stored last: a failure on the way
// leaves the current pick as it was.
void ColorPalette::makeCurrentPick(forms::ColorValue color, float X, float Y) {
    showColor(color);
    mCurColor = color;
    mCurX = X;
    mCurY = Y;
}

// The preview swatch takes the colour and the status line describes it.
void ColorPalette::showColor(forms::ColorValue color) {
    picColorPreview->setBackColor(color);
    QString hex;
    tarnwick::check(tarnwick::SupportFunction::Hex4, tarnwick::tsHex4(color, hex));
    lblStatusBar->setCaption(palette::readout::statusText(palette::readout::split(color), hex));
}

void ColorPalette::picColorBar_MouseMove(int16_t Index, int16_t /*Button*/, int16_t /*Shift*/,
                                         float X, float Y) {
    PickColor(picColorBar(Index), X, Y);
}

void ColorPalette::picSelectedColor_DblClick() {
    PickColor(*picSelectedColor, SwatchReadPoint, SwatchReadPoint);
}

void ColorPalette::picSelectedColor_DragDrop(forms::PictureBox* /*Source*/, float /*X*/,
                                             float /*Y*/) {
    picSelectedColor->setBackColor(mCurColor);
}

void ColorPalette::drawToolBarCell(int32_t column, int32_t row) {
    picToolBar->lineBox(static_cast<float>(column), static_cast<float>(row),
                        static_cast<float>(forms::checked::add(column, 1)),
                        static_cast<float>(forms::checked::add(row, 1)));
}

void ColorPalette::picToolBar_MouseUp(int16_t /*Button*/, int16_t /*Shift*/, float X, float Y) {
    picToolBar->setDrawMode(forms::DrawMode::Invert);
    const int32_t column = forms::checked::floorToInt(X);
    const int32_t row = forms::checked::floorToInt(Y);
    drawToolBarCell(column, row);
    switch (row) {
    case palette::toolbar::BackgroundStyleRow:
        mGrayBack = static_cast<int16_t>(~mGrayBack);
        SetFonts();
        break;
    case palette::toolbar::TitleStyleRow:
        mTitleBars = static_cast<int16_t>(~mTitleBars);
        SetFonts();
        break;
    case palette::toolbar::AboutRow:
        mShowAbout();
        drawToolBarCell(column, row);
        break;
    default:
        forms::messagebox::msgBox(QString::number(column) + QStringLiteral(" x ") +
                                  QString::number(row));
        break;
    }
}

// Keyboard users pick along a bar as the pointer would: each move picks at the
// centre of the new row's middle pixel, exactly as a hover over that pixel.
void ColorPalette::picColorBar_KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) {
    forms::PictureBox& bar = picColorBar(Index);
    const QSize size = bar.imageSize();
    const auto row = palette::keyboardpicking::rowAfter(
        KeyCode, Shift, bar.positionMark().value_or(0), size.height());
    if (row) {
        KeyCode = 0;
        bar.setPositionMark(*row);
        const QPointF at = bar.unitsAtImagePixel(QPoint(size.width() / 2, *row));
        picColorBar_MouseMove(Index, 0, Shift, static_cast<float>(at.x()),
                              static_cast<float>(at.y()));
        announceColor(QString(), mCurColor);
    } else if (forms::keyboard::isPressKey(KeyCode, Shift)) {
        KeyCode = 0;
        const QPointF at = centreOf(*picSelectedColor);
        picSelectedColor_DragDrop(&bar, static_cast<float>(at.x()), static_cast<float>(at.y()));
        announceColor(QStringLiteral("Selected color, "), picSelectedColor->backColor());
    }
}

void ColorPalette::picColorBar_OLEStartDrag(QMimeData& Data) {
    palette::transfer::fill(Data, mCurColor);
}

void ColorPalette::picSelectedColor_KeyDown(int16_t& KeyCode, int16_t& Shift) {
    if (forms::keyboard::isPressKey(KeyCode, Shift)) {
        KeyCode = 0;
        picSelectedColor_DblClick();
        announceColor(QString(), mCurColor);
    }
}

void ColorPalette::picToolBar_KeyDown(int16_t& KeyCode, int16_t& Shift) {
    mToolBarKeys.keyDown(KeyCode, Shift);
}

void ColorPalette::CopyColor() {
    auto data = std::make_unique<QMimeData>();
    palette::transfer::fill(*data, mCurColor);
    QGuiApplication::clipboard()->setMimeData(data.release());
    announceColor(QStringLiteral("Copied "), mCurColor);
}

void ColorPalette::ShowCopyMenu() {
    const QWidget* focused = window()->focusWidget();
    const QWidget* anchor = focused != nullptr && isAncestorOf(focused) ? focused : this;
    showCopyMenuAt(anchor->mapToGlobal(anchor->rect().center()));
}

void ColorPalette::showCopyMenuAt(QPoint globalPos) {
    using namespace palette::readout;
    const Channels channels = split(mCurColor);
    QString hex;
    tarnwick::check(tarnwick::SupportFunction::Hex4, tarnwick::tsHex4(mCurColor, hex));
    const QStringList texts = {hexTriplet(channels), rgbFunction(channels), hexLiteral(hex)};
    QList<forms::popupmenu::Item> items;
    for (const QString& text : texts) {
        items.append({QStringLiteral("Copy ") + text, true, {}, false});
    }
    const auto chosen =
        ScreenPickSession::showMenuWithPick(this, items, PickFromScreenText, globalPos);
    if (chosen && *chosen < texts.size()) {
        QGuiApplication::clipboard()->setText(texts.at(*chosen));
    } else if (chosen) {
        PickFromScreen();
    }
}

void ColorPalette::PickFromScreen() {
    // While the bars are painted the control takes no input, and the paint's
    // own status texts must not be overwritten by a pick's.
    if (isEnabled()) {
        mScreenPick->start(window());
    }
}

bool ColorPalette::isPickingFromScreen() const {
    return mScreenPick->isRunning();
}

ColorPalette::~ColorPalette() = default;

// A pick ends with the window it was started from.
void ColorPalette::hideEvent(QHideEvent* event) {
    mScreenPick->cancel();
    forms::UserControl::hideEvent(event);
}
