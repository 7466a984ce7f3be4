// A stand-in for another program on the desktop: a window that takes any drop
// and prints, one line each, the colour (application/x-color) and the text it
// received, then "dropped"; every format it is offered on entering is printed
// as "offered <format>", and "left" when a drag leaves it. Pressed, it drags
// a colour of its own, pure green, in the same two formats, and prints how
// that drag ended.
#include <QApplication>
#include <QColor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>

namespace {

class DropTarget : public QWidget {
  public:
    DropTarget() {
        setWindowTitle(QStringLiteral("Drop target"));
        setAcceptDrops(true);
        setFixedSize(200, 200);
    }

  protected:
    void mousePressEvent(QMouseEvent* /*event*/) override {
        auto* data = new QMimeData;
        data->setText(QStringLiteral("#00FF00"));
        data->setColorData(QColor(0, 255, 0));
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction result = drag->exec(Qt::CopyAction);
        std::printf("own drag %s\n", result == Qt::IgnoreAction ? "refused" : "taken");
        std::fflush(stdout);
    }

    void dragEnterEvent(QDragEnterEvent* event) override {
        for (const QString& format : event->mimeData()->formats()) {
            std::printf("offered %s\n", qPrintable(format));
        }
        std::fflush(stdout);
        event->acceptProposedAction();
    }

    void dragLeaveEvent(QDragLeaveEvent* /*event*/) override {
        std::printf("left\n");
        std::fflush(stdout);
    }

    void dropEvent(QDropEvent* event) override {
        const QMimeData* data = event->mimeData();
        if (data->hasColor()) {
            const auto color = qvariant_cast<QColor>(data->colorData());
            std::printf("color %s\n", qPrintable(color.name(QColor::HexRgb).toUpper()));
        }
        if (data->hasText()) {
            std::printf("text %s\n", qPrintable(data->text()));
        }
        std::printf("dropped\n");
        std::fflush(stdout);
        event->acceptProposedAction();
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    DropTarget target;
    target.show();
    return QApplication::exec();
}
