// What any Qt Widgets window costs on the X server, whatever it shows: a
// frameless window at the screen's corner holding a picture of the
// scoreboard, following the pointer (as the board must, for the aim box)
// and doing nothing with it. x11_bench plays the same match on it, so the
// program's figures can be read against what Qt and the server spend on
// the events alone.
//
//   x11_floor PICTURE.ppm
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPaintEvent>
#include <QWidget>

namespace {

class Picture : public QWidget {
public:
    explicit Picture(QImage image) : image_(std::move(image))
    {
        setWindowFlag(Qt::FramelessWindowHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setGeometry(QRect(QPoint(0, 0), image_.size()));
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.drawImage(e->rect(), image_, e->rect());
    }

private:
    QImage image_;
};

} // namespace

int main(int argc, char* argv[])
{
    // As the program itself runs on X11.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    const QImage image(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (image.isNull())
        return 2;
    Picture window(image);
    window.show();
    return app.exec();
}
