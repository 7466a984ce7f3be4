// Another program on the desktop, to pick colours from: its window shows, at
// its top-left corner, a square of one-device-pixel cells, each of its own
// colour: the cell in device column x and row y (0 to 59) is
// red 4x + 1, green 4y + 2, blue 0x99, at every scale factor. Arguments:
// the window's title and its position in logical pixels (default "Pick
// cells" at 20, 20).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {

constexpr int Cells = 60;

class PickCells : public QWidget {
  public:
    explicit PickCells(const QString& title) {
        setWindowTitle(title);
        setFixedSize(100, 80);
        setAttribute(Qt::WA_OpaquePaintEvent);
        mCells = QImage(Cells, Cells, QImage::Format_RGB32);
        for (int y = 0; y < Cells; ++y) {
            for (int x = 0; x < Cells; ++x) {
                mCells.setPixel(x, y, qRgb(4 * x + 1, 4 * y + 2, 0x99));
            }
        }
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::darkGray);
        // In device pixels, so that each cell is exactly one of them.
        const qreal ratio = devicePixelRatioF();
        painter.setWorldTransform(QTransform::fromScale(1.0 / ratio, 1.0 / ratio));
        painter.drawImage(0, 0, mCells);
    }

  private:
    QImage mCells;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    PickCells cells(arguments.value(1, QStringLiteral("Pick cells")));
    cells.move(arguments.value(2, QStringLiteral("20")).toInt(),
               arguments.value(3, QStringLiteral("20")).toInt());
    cells.show();
    return app.exec();
}
