// Shows the overlay with the welcome line over a patterned "desktop" window,
// once in the built-in look and once in the settings panel's first look, and
// quits after a few seconds so a screenshot can be taken meanwhile.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "overlay/lyrics_window.h"

namespace {

// Stripes and squares, so what shows through the overlay is easy to see.
class Desktop : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(40, 80, 160));
    sky.setColorAt(1, QColor(200, 120, 60));
    painter.fillRect(rect(), sky);
    for (int x = 0; x < width(); x += 80) {
      painter.fillRect(x, 0, 20, height(), QColor(255, 255, 255, 60));
    }
    painter.fillRect(100, 560, 120, 120, QColor(230, 30, 120));
    painter.fillRect(900, 600, 200, 60, QColor(20, 200, 220));
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orvane::RegisterLyricsWindowClass();
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 6;

  Desktop desktop;
  desktop.setWindowFlag(Qt::FramelessWindowHint);
  desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
  desktop.show();

  // What the main window does at start, then the lyrics button.
  orvane::LyricsWindow welcome;
  welcome.Create();
  welcome.SetDragMove(true);
  welcome.SetNoClose(true);
  welcome.Hide();
  welcome.SetText("欢迎进入Orvane");
  welcome.Show();

  // The settings panel's first values applied: 楷体 40 bold, red to yellow, black outline.
  orvane::LyricsWindow panel_look;
  panel_look.Create();
  panel_look.MoveResize(std::nullopt, 300);
  panel_look.SetFont("楷体", 40, true);
  panel_look.SetTextStyle(255, 65535, 0, orvane::kGradientTwoColour);
  panel_look.SetText("我在窗前静静地听着雨声 50%", 50);
  panel_look.Show();

  QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  return app.exec();
}
