#include "platform/qt_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QHash>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSvgRenderer>
#include <QTimer>
#include <algorithm>

#include "app/channels.h"  // header-only table of the channel chooser's items
#include "platform/decode_image.h"
#include "platform/qt_colour_picker.h"
#include "platform/qt_indicator.h"
#include "platform/qt_label.h"
#include "platform/qt_picture_box.h"
#include "platform/qt_picture_button.h"
#include "platform/qt_shape_box.h"
#include "platform/qt_slider.h"

// The assets live in a static library: their registration must be pulled in
// by name, outside any namespace.
static void InitOrvaneAssets() {
  Q_INIT_RESOURCE(orvane);
}

namespace orvane {

struct QtUi::Entry {
  const ControlSpec* row = nullptr;
  std::string name;
  QWidget* widget = nullptr;
  QTimer* timer = nullptr;
  int period = 0;
  std::array<std::function<void()>, 8> handlers;
};

class QtUi::Window : public QWidget {
 public:
  explicit Window(QtUi* ui) : ui_(ui) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    ui_->OnClose();
    event->accept();
  }

 private:
  QtUi* ui_;
};

// Left-button presses on labels, picture boxes and shape boxes. Controls do
// not pass presses on to their container, so the player area hears only the
// presses on its own background.
class QtUi::PressFilter : public QObject {
 public:
  explicit PressFilter(QtUi* ui) : ui_(ui) {}
  QHash<const QObject*, Entry*> entries;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      if (Entry* e = entries.value(watched, nullptr)) ui_->Fire(e, UiEvent::LeftPressed);
    }
    return false;
  }

 private:
  QtUi* ui_;
};

namespace {

constexpr int kInitialDockPeriodMs = 100;
const QColor kAccent(26, 213, 152);

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
  return s.toStdString();
}

std::size_t Slot(UiEvent e) {
  return static_cast<std::size_t>(e);
}

QFont PlayerFont(int pixels) {
  QFont f;
  // 微软雅黑 is not installed on Linux desktops; WenQuanYi Micro Hei is its
  // closest common stand-in, and the system font catches whatever remains.
  f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                 QApplication::font().family()});
  f.setPixelSize(pixels);
  f.setWeight(QFont::Normal);
  return f;
}

struct LabelLook {
  std::string_view name;
  int pixels;
  QColor colour;
  bool right;
  std::string_view text;
};

const LabelLook kLabelLooks[] = {
    {"标签1", 21, QColor(3, 3, 3), false, "Orvane"},
    {"标签2", 14, QColor(128, 128, 128), false, "当前暂无歌词"},
    {"标签5", 14, QColor(47, 152, 66), false, "豆瓣精选 MHz"},
    {"标签3", 12, QColor(145, 145, 145), false, "00:00/00:00"},
    {"提示", 12, QColor(145, 145, 145), false, "OrvaneV1.3"},
    {"标签4", 12, QColor(145, 145, 145), true, "128kbs"},
    {"设置标签", 12, QColor(85, 94, 90), false, "字体名称：\r\n\r\n字体大小：\r\n\r\n字体样式："},
    {"设置标签2", 12, QColor(85, 94, 90), false,
     "文字颜色：\r\n\r\n文字边框：\r\n\r\n文字渐变：\r\n\r\n高亮颜色：\r\n\r\n高亮边框：\r\n\r\n"
     "高亮渐变："},
};

const QColor kPanelFill(250, 252, 251);

struct ButtonAsset {
  std::string_view name;
  const char* svg;
  std::array<ButtonLook, 3> (*looks)();
};

const ButtonAsset kButtonAssets[] = {
    {"相似歌曲", ":/orvane/similar.svg", RingButtonLooks},
    {"歌词显示", ":/orvane/lyrics.svg", SmallButtonLooks},
    {"音量", ":/orvane/volume.svg", SmallButtonLooks},
    {"下一曲", ":/orvane/next.svg", RingButtonLooks},
    {"暂停按钮", ":/orvane/pause.svg", PrimaryButtonLooks},
    {"继续播放", ":/orvane/continue.svg", PrimaryButtonLooks},
    {"设置", ":/orvane/settings.svg", SmallButtonLooks},
};

struct ComboItems {
  std::string_view name;
  std::vector<std::string_view> items;
  int selected;
};

std::vector<std::string_view> ChannelTexts() {
  std::vector<std::string_view> out;
  for (const ChannelItem& c : kChannelItems) out.push_back(c.text);
  return out;
}

const char kStyleSheet[] = R"(
QGroupBox, QPushButton, QComboBox, QCheckBox, QAbstractItemView {
  font-family: "WenQuanYi Micro Hei", "WenQuanYi Zen Hei"; font-size: 12px; color: #3A4440; }
QGroupBox { border: 1px solid #DCE4E0; border-radius: 5px; margin-top: 7px; background: #FAFCFB; }
QGroupBox::title { subcontrol-origin: margin; left: 9px; padding: 0 3px; color: #2F9842; }
QPushButton { background: #1AD598; color: white; border: none; border-radius: 4px; font-size: 13px; }
QPushButton:hover { background: #3FE0AC; }
QPushButton:pressed { background: #12A877; }
QComboBox { border: 1px solid #D5DDD9; border-radius: 3px; padding: 0 4px; background: white; }
QComboBox:hover, QComboBox:on { border-color: #1AD598; }
QComboBox::drop-down { width: 16px; border: none; }
QComboBox::down-arrow { image: url(:/orvane/arrow.svg); width: 8px; height: 5px; }
QComboBox QAbstractItemView { border: 1px solid #D5DDD9; background: white; outline: 0;
  selection-background-color: #E6F9F1; selection-color: #12A877; }
QCheckBox { spacing: 4px; background: transparent; }
QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid #B9C4BF; border-radius: 2px;
  background: white; }
QCheckBox::indicator:hover { border-color: #1AD598; }
QCheckBox::indicator:checked { background: #1AD598; border-color: #1AD598;
  image: url(:/orvane/check.svg); }
QSlider { background: white; }
QSlider::groove:horizontal { height: 3px; background: #ECECEC; border-radius: 1px; }
QSlider::sub-page:horizontal { background: #1AD598; border-radius: 1px; }
QSlider::handle:horizontal { width: 9px; height: 9px; margin: -4px 0; border-radius: 5px;
  background: white; border: 1px solid #1AD598; }
QSlider::handle:horizontal:hover { background: #E6F9F1; }
)";

QIcon WindowIcon() {
  QSvgRenderer renderer(QStringLiteral(":/orvane/icon.svg"));
  QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  renderer.render(&p, QRectF(0, 0, 64, 64));
  p.end();
  return QIcon(QPixmap::fromImage(image));
}

// Cover bytes into a QImage through the program's own decoder (libjpeg,
// libpng, Qt for the rest); anything it refuses clears the picture.
QImage ImageFromBytes(std::string_view bytes) {
  DecodedImage decoded = DecodeImage(bytes);
  if (!decoded.ok() || decoded.width <= 0 || decoded.height <= 0) return {};
  const QImage view(reinterpret_cast<const uchar*>(decoded.pixels.data()), decoded.width,
                    decoded.height, static_cast<qsizetype>(decoded.width) * 4,
                    QImage::Format_ARGB32);
  return view.copy();  // the decoded pixels go with this scope
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
  const QPointF lp(local);
  QMouseEvent event(type, lp, target->mapToGlobal(lp), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

}  // namespace

QtUi::QtUi()
    : window_(std::make_unique<Window>(this)), pressFilter_(std::make_unique<PressFilter>(this)) {
  InitOrvaneAssets();
  window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
  window_->setObjectName(Q(Ui::kWindow));
  window_->setWindowTitle(QStringLiteral("OrvaneV1.3"));
  window_->setWindowIcon(WindowIcon());
  window_->setFixedSize(kClientWidth, kClientHeight);
  window_->setAutoFillBackground(true);
  QPalette pal = window_->palette();
  pal.setColor(QPalette::Window, Qt::white);
  window_->setPalette(pal);
  window_->setStyleSheet(QString::fromUtf8(kStyleSheet));
  Build();
  // Centred by the outer size the layout asks for (432 x 240).
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    const int outerW = kClientWidth + kFrameLeft + kFrameRight;
    const int outerH = kClientHeight + kFrameTop + kFrameBottom;
    window_->move(s.x() + (s.width() - outerW) / 2, s.y() + (s.height() - outerH) / 2);
  }
}

QtUi::~QtUi() {
  // Timers and widgets go with the window; no handler runs from here on.
  for (Entry* e : order_) {
    if (e->timer) e->timer->stop();
    e->handlers = {};
  }
  windowHandlers_ = {};
  window_.reset();
}

void QtUi::Build() {
  for (const ControlSpec& row : MainWindowLayout()) {
    auto entry = std::make_unique<Entry>();
    Entry* e = entry.get();
    e->row = &row;
    e->name = std::string(row.name);
    QWidget* parent = window_.get();
    if (!row.container.empty()) parent = Find(row.container)->widget;

    switch (row.kind) {
      case ControlKind::Timer: {
        e->timer = new QTimer(window_.get());
        QObject::connect(e->timer, &QTimer::timeout, window_.get(),
                         [this, e] { Fire(e, UiEvent::Tick); });
        break;
      }
      case ControlKind::Label: {
        auto* label = new QtLabel(parent);
        for (const LabelLook& look : kLabelLooks) {
          if (look.name != row.name) continue;
          label->setFont(PlayerFont(look.pixels));
          label->setTextColour(look.colour);
          label->setRightAligned(look.right);
          label->setText(Q(look.text));
        }
        if (row.container == "设置分组框1") label->setBackground(kPanelFill);
        e->widget = label;
        break;
      }
      case ControlKind::PictureBox: {
        auto* box = new QtPictureBox(parent);
        if (row.name == "图片框2")
          box->setAnimation(PaintIndicatorFrame, kIndicatorFrames, kIndicatorFrameMs);
        if (row.name == "图片框1") box->setSvg(QStringLiteral(":/orvane/cover.svg"));
        e->widget = box;
        break;
      }
      case ControlKind::PictureButton: {
        const ButtonAsset* asset = nullptr;
        for (const ButtonAsset& a : kButtonAssets)
          if (a.name == row.name) asset = &a;
        auto* button =
            asset ? new QtPictureButton(parent, QString::fromLatin1(asset->svg), asset->looks())
                  : new QtPictureButton(parent, QString(), SmallButtonLooks());
        QObject::connect(button, &QAbstractButton::clicked, window_.get(),
                         [this, e] { Fire(e, UiEvent::Clicked); });
        e->widget = button;
        break;
      }
      case ControlKind::PushButton: {
        auto* button = new QPushButton(QStringLiteral("设置"), parent);
        button->setCursor(Qt::PointingHandCursor);
        QObject::connect(button, &QAbstractButton::clicked, window_.get(),
                         [this, e] { Fire(e, UiEvent::Clicked); });
        e->widget = button;
        break;
      }
      case ControlKind::CheckBox: {
        auto* box = new QCheckBox(Q(row.name), parent);
        box->setChecked(row.name == "字体加粗");
        QObject::connect(box, &QAbstractButton::clicked, window_.get(),
                         [this, e] { Fire(e, UiEvent::Clicked); });
        e->widget = box;
        break;
      }
      case ControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        const std::vector<ComboItems> lists = {
            {"组合框1", ChannelTexts(), 0},
            {"文字渐变", {"无渐变", "两色渐变", "三色渐变"}, 1},
            {"字体大小", {"30", "40", "45", "50", "55", "60"}, 1},
            {"字体型号", {"黑体", "楷体", "微软雅黑"}, 1},
        };
        for (const ComboItems& list : lists) {
          if (list.name != row.name) continue;
          for (std::string_view item : list.items) combo->addItem(Q(item));
          combo->setCurrentIndex(list.selected);
        }
        combo->setMaxVisibleItems(12);
        // activated: the user's choices only, not the program's own selections.
        QObject::connect(combo, &QComboBox::activated, window_.get(),
                         [this, e](int) { Fire(e, UiEvent::ItemSelected); });
        e->widget = combo;
        break;
      }
      case ControlKind::Slider: {
        auto* slider = new QtSlider(parent);
        slider->setRange(1, 100);
        slider->setValue(100);
        slider->setPageStep(5);
        slider->setSingleStep(1);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setTracking(true);
        QObject::connect(slider, &QSlider::valueChanged, window_.get(),
                         [this, e](int) { Fire(e, UiEvent::PositionChanged); });
        slider->onLeftReleased = [this, e] { Fire(e, UiEvent::LeftReleased); };
        e->widget = slider;
        break;
      }
      case ControlKind::ColourPicker: {
        auto* picker = new QtColourPicker(parent);
        if (row.name == "颜色选择器1") picker->setColour(255);
        if (row.name == "颜色选择器2") picker->setColour(65535);
        e->widget = picker;
        break;
      }
      case ControlKind::ShapeBox: {
        auto* shape = new QtShapeBox(parent);
        if (row.name == "外形框1") {
          shape->setFill(kPanelFill);
          shape->setBorder(QColor(220, 228, 224));
        } else if (row.name == "进度条_绿") {
          shape->setFill(kAccent);
        } else if (row.name == "进度条_灰") {
          shape->setFill(QColor(236, 236, 236));
        }
        e->widget = shape;
        break;
      }
      case ControlKind::GroupBox: {
        e->widget = new QGroupBox(QStringLiteral("歌词设置"), parent);
        break;
      }
    }

    if (e->widget) {
      QWidget* w = e->widget;
      w->setObjectName(Q(row.name));
      w->setGeometry(row.x, row.y, row.w, row.h);
      w->setAttribute(Qt::WA_NoMousePropagation);
      if (!row.visible) w->hide();
      if (row.kind == ControlKind::Label || row.kind == ControlKind::PictureBox ||
          row.kind == ControlKind::ShapeBox) {
        w->installEventFilter(pressFilter_.get());
        pressFilter_->entries.insert(w, e);
      }
    }
    order_.push_back(e);
    entries_.emplace(e->name, std::move(entry));
  }
  // First listed is on top: raise from the bottom of each container up.
  for (auto it = order_.rbegin(); it != order_.rend(); ++it)
    if ((*it)->widget) (*it)->widget->raise();
  // The docking timer runs from the window's creation on.
  SetPeriod("时钟1", kInitialDockPeriodMs);
}

QtUi::Entry* QtUi::Find(std::string_view name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.get();
}

void QtUi::Fire(Entry* entry, UiEvent event) {
  auto handler = entry->handlers[Slot(event)];  // the handler may rebind itself
  if (handler) handler();
}

void QtUi::FireWindow(UiEvent event) {
  auto handler = windowHandlers_[Slot(event)];
  if (handler) handler();
}

void QtUi::OnClose() {
  if (destroyingFired_) return;
  destroyingFired_ = true;
  FireWindow(UiEvent::Destroying);
  // The window's timers end with it.
  for (Entry* e : order_)
    if (e->timer) {
      e->timer->stop();
      e->period = 0;
    }
}

QMargins QtUi::FrameMargins() const {
  const QRect f = window_->frameGeometry();
  const QRect g = window_->geometry();
  QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
             f.bottom() - g.bottom());
  if (m.isNull()) m = QMargins(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom);
  return m;
}

// A window's position is that of its outer frame. A hidden docked window is
// told its place again on every docking tick: the same place is no request to
// the display server.
void QtUi::MoveWindow(int x, int y) {
  if (window_->frameGeometry().topLeft() == QPoint(x, y)) return;
  window_->move(x, y);
}

// --- Ui ---

bool QtUi::Visible(std::string_view name) const {
  if (name == Ui::kWindow) return window_->isVisible();
  const Entry* e = Find(name);
  return e && e->widget && !e->widget->isHidden();
}

void QtUi::SetVisible(std::string_view name, bool visible) {
  if (name == Ui::kWindow) {
    window_->setVisible(visible);
    return;
  }
  if (Entry* e = Find(name); e && e->widget) e->widget->setVisible(visible);
}

int QtUi::Left(std::string_view name) const {
  if (name == Ui::kWindow) return window_->frameGeometry().x();
  const Entry* e = Find(name);
  return e && e->widget ? e->widget->x() : 0;
}

int QtUi::Top(std::string_view name) const {
  if (name == Ui::kWindow) return window_->frameGeometry().y();
  const Entry* e = Find(name);
  return e && e->widget ? e->widget->y() : 0;
}

int QtUi::Width(std::string_view name) const {
  if (name == Ui::kWindow) {
    const QMargins m = FrameMargins();
    return window_->width() + m.left() + m.right();
  }
  const Entry* e = Find(name);
  return e && e->widget ? e->widget->width() : 0;
}

int QtUi::Height(std::string_view name) const {
  if (name == Ui::kWindow) {
    const QMargins m = FrameMargins();
    return window_->height() + m.top() + m.bottom();
  }
  const Entry* e = Find(name);
  return e && e->widget ? e->widget->height() : 0;
}

void QtUi::SetLeft(std::string_view name, int x) {
  if (name == Ui::kWindow) {
    MoveWindow(x, window_->frameGeometry().y());
    return;
  }
  if (Entry* e = Find(name); e && e->widget) e->widget->move(x, e->widget->y());
}

void QtUi::SetTop(std::string_view name, int y) {
  if (name == Ui::kWindow) {
    MoveWindow(window_->frameGeometry().x(), y);
    return;
  }
  if (Entry* e = Find(name); e && e->widget) e->widget->move(e->widget->x(), y);
}

void QtUi::SetWidth(std::string_view name, int w) {
  if (name == Ui::kWindow) {
    const QMargins m = FrameMargins();
    window_->setFixedWidth(std::max(1, w - m.left() - m.right()));
    return;
  }
  if (Entry* e = Find(name); e && e->widget) e->widget->resize(std::max(0, w), e->widget->height());
}

void QtUi::SetHeight(std::string_view name, int h) {
  if (name == Ui::kWindow) {
    const QMargins m = FrameMargins();
    window_->setFixedHeight(std::max(1, h - m.top() - m.bottom()));
    return;
  }
  if (Entry* e = Find(name); e && e->widget) e->widget->resize(e->widget->width(), std::max(0, h));
}

void QtUi::Move(std::string_view name, int x, int y) {
  if (name == Ui::kWindow) {
    MoveWindow(x, y);
    return;
  }
  if (Entry* e = Find(name); e && e->widget) e->widget->move(x, y);
}

std::string QtUi::Caption(std::string_view name) const {
  if (name == Ui::kWindow) return S(window_->windowTitle());
  const Entry* e = Find(name);
  if (!e || !e->widget) return {};
  if (auto* label = dynamic_cast<QtLabel*>(e->widget)) return S(label->text());
  if (auto* group = dynamic_cast<QGroupBox*>(e->widget)) return S(group->title());
  if (dynamic_cast<QtPictureButton*>(e->widget) || dynamic_cast<QtColourPicker*>(e->widget))
    return {};
  if (auto* button = dynamic_cast<QAbstractButton*>(e->widget)) return S(button->text());
  return {};
}

void QtUi::SetCaption(std::string_view name, std::string_view text) {
  if (name == Ui::kWindow) {
    window_->setWindowTitle(Q(text));
    return;
  }
  Entry* e = Find(name);
  if (!e || !e->widget) return;
  if (auto* label = dynamic_cast<QtLabel*>(e->widget)) {
    label->setText(Q(text));
  } else if (auto* group = dynamic_cast<QGroupBox*>(e->widget)) {
    group->setTitle(Q(text));
  } else if (dynamic_cast<QPushButton*>(e->widget) || dynamic_cast<QCheckBox*>(e->widget)) {
    static_cast<QAbstractButton*>(e->widget)->setText(Q(text));
  }
}

void QtUi::SetPicture(std::string_view name, std::string_view bytes) {
  Entry* e = Find(name);
  auto* box = e ? dynamic_cast<QtPictureBox*>(e->widget) : nullptr;
  if (!box) return;
  box->setImage(bytes.empty() ? QImage() : ImageFromBytes(bytes));
}

bool QtUi::HasPicture(std::string_view name) const {
  const Entry* e = Find(name);
  auto* box = e ? dynamic_cast<QtPictureBox*>(e->widget) : nullptr;
  return box && box->hasPicture();
}

MousePointer QtUi::Pointer(std::string_view name) const {
  const Entry* e = Find(name);
  if (!e || !e->widget || !e->widget->testAttribute(Qt::WA_SetCursor)) return MousePointer::Default;
  return e->widget->cursor().shape() == Qt::PointingHandCursor ? MousePointer::Hand
                                                               : MousePointer::Default;
}

void QtUi::SetPointer(std::string_view name, MousePointer pointer) {
  Entry* e = Find(name);
  if (!e || !e->widget) return;
  if (pointer == MousePointer::Hand)
    e->widget->setCursor(Qt::PointingHandCursor);
  else
    e->widget->unsetCursor();
}

bool QtUi::AnimationRunning(std::string_view name) const {
  const Entry* e = Find(name);
  auto* box = e ? dynamic_cast<QtPictureBox*>(e->widget) : nullptr;
  return box && box->animationRunning();
}

void QtUi::SetAnimationRunning(std::string_view name, bool running) {
  Entry* e = Find(name);
  if (auto* box = e ? dynamic_cast<QtPictureBox*>(e->widget) : nullptr)
    box->setAnimationRunning(running);
}

int QtUi::Period(std::string_view name) const {
  const Entry* e = Find(name);
  return e && e->timer ? e->period : 0;
}

void QtUi::SetPeriod(std::string_view name, int ms) {
  Entry* e = Find(name);
  if (!e || !e->timer) return;
  ms = std::max(ms, 0);
  if (ms == e->period) return;  // same period: a running timer keeps its deadline
  e->period = ms;
  if (ms == 0)
    e->timer->stop();
  else
    e->timer->start(ms);
}

int QtUi::SliderPosition(std::string_view name) const {
  const Entry* e = Find(name);
  auto* slider = e ? dynamic_cast<QSlider*>(e->widget) : nullptr;
  return slider ? slider->value() : 0;
}

void QtUi::SetSliderPosition(std::string_view name, int position) {
  Entry* e = Find(name);
  auto* slider = e ? dynamic_cast<QSlider*>(e->widget) : nullptr;
  if (!slider) return;
  // The program's own writes are no scroll notifications.
  QSignalBlocker quiet(slider);
  slider->setValue(position);
}

int QtUi::SelectedItem(std::string_view name) const {
  const Entry* e = Find(name);
  auto* combo = e ? dynamic_cast<QComboBox*>(e->widget) : nullptr;
  return combo ? combo->currentIndex() : -1;
}

void QtUi::SetSelectedItem(std::string_view name, int index) {
  Entry* e = Find(name);
  auto* combo = e ? dynamic_cast<QComboBox*>(e->widget) : nullptr;
  if (!combo) return;
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int QtUi::ItemCount(std::string_view name) const {
  const Entry* e = Find(name);
  auto* combo = e ? dynamic_cast<QComboBox*>(e->widget) : nullptr;
  return combo ? combo->count() : 0;
}

std::string QtUi::ItemText(std::string_view name, int index) const {
  const Entry* e = Find(name);
  auto* combo = e ? dynamic_cast<QComboBox*>(e->widget) : nullptr;
  if (!combo || index < 0 || index >= combo->count()) return {};
  return S(combo->itemText(index));
}

bool QtUi::Checked(std::string_view name) const {
  const Entry* e = Find(name);
  auto* box = e ? dynamic_cast<QCheckBox*>(e->widget) : nullptr;
  return box && box->isChecked();
}

void QtUi::SetChecked(std::string_view name, bool checked) {
  Entry* e = Find(name);
  if (auto* box = e ? dynamic_cast<QCheckBox*>(e->widget) : nullptr) box->setChecked(checked);
}

std::int32_t QtUi::Colour(std::string_view name) const {
  const Entry* e = Find(name);
  auto* picker = e ? dynamic_cast<QtColourPicker*>(e->widget) : nullptr;
  return picker ? picker->colour() : 0;
}

void QtUi::SetColour(std::string_view name, std::int32_t colour) {
  Entry* e = Find(name);
  if (auto* picker = e ? dynamic_cast<QtColourPicker*>(e->widget) : nullptr)
    picker->setColour(colour);
}

void QtUi::Bind(std::string_view name, UiEvent event, std::function<void()> handler) {
  if (name == Ui::kWindow) {
    windowHandlers_[Slot(event)] = std::move(handler);
    return;
  }
  if (Entry* e = Find(name)) e->handlers[Slot(event)] = std::move(handler);
}

void QtUi::WaitDispatching(int ms) {
  QElapsedTimer clock;
  clock.start();
  // Wakes the blocking dispatch below when nothing else arrives in time.
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(std::max(ms, 0) + 1);
  while (clock.elapsed() <= ms) {
    if (!wake.isActive())
      wake.start(static_cast<int>(std::max<qint64>(1, ms + 1 - clock.elapsed())));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

// --- for the application, the driver and tests ---

QWidget* QtUi::window() const {
  return window_.get();
}

QWidget* QtUi::widget(std::string_view name) const {
  if (name == Ui::kWindow) return window_.get();
  const Entry* e = Find(name);
  return e ? e->widget : nullptr;
}

void QtUi::Show() {
  window_->show();
}

void QtUi::FireCreated() {
  FireWindow(UiEvent::Created);
}

std::vector<std::string> QtUi::ControlNames() const {
  std::vector<std::string> names;
  names.reserve(order_.size());
  for (const Entry* e : order_) names.push_back(e->name);
  return names;
}

std::string QtUi::KindOf(std::string_view name) const {
  const Entry* e = Find(name);
  return e ? std::string(KindName(e->row->kind)) : std::string();
}

std::string QtUi::ContainerOf(std::string_view name) const {
  const Entry* e = Find(name);
  return e ? std::string(e->row->container) : std::string();
}

bool QtUi::Reachable(const Entry* e) const {
  return e && e->widget && e->widget->isVisibleTo(window_.get()) && e->widget->isEnabled() &&
         !destroyingFired_;
}

// A point of the control where it is the topmost widget inside the window:
// its centre when that is free, else the first free point of a coarse grid.
bool QtUi::HitPoint(const Entry* e, bool exact, QPoint& local) const {
  if (!Reachable(e)) return false;
  QWidget* w = e->widget;
  auto hits = [&](QPoint p) {
    const QPoint inWindow = w->mapTo(window_.get(), p);
    if (!window_->rect().contains(inWindow)) return false;
    QWidget* hit = window_->childAt(inWindow);
    return hit == w || (!exact && hit && w->isAncestorOf(hit));
  };
  const QPoint centre(w->width() / 2, w->height() / 2);
  if (hits(centre)) {
    local = centre;
    return true;
  }
  for (int y = 1; y < w->height(); y += 3)
    for (int x = 1; x < w->width(); x += 3)
      if (hits(QPoint(x, y))) {
        local = QPoint(x, y);
        return true;
      }
  return false;
}

bool QtUi::Click(std::string_view name) {
  Entry* e = Find(name);
  QPoint at;
  if (!HitPoint(e, false, at)) return false;
  QPointer<QWidget> target = e->widget;
  SendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
  if (target) SendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
  return true;
}

bool QtUi::Press(std::string_view name) {
  Entry* e = Find(name);
  QPoint at;
  if (!HitPoint(e, true, at)) return false;
  SendMouse(e->widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
  return true;
}

bool QtUi::Release(std::string_view name) {
  Entry* e = Find(name);
  QPoint at;
  if (!HitPoint(e, false, at)) return false;
  SendMouse(e->widget, QEvent::MouseButtonRelease, at, Qt::NoButton);
  return true;
}

bool QtUi::Select(std::string_view name, int index) {
  Entry* e = Find(name);
  auto* combo = e ? dynamic_cast<QComboBox*>(e->widget) : nullptr;
  if (!combo || !Reachable(e) || index < 0 || index >= combo->count()) return false;
  combo->setCurrentIndex(index);
  emit combo->activated(index);
  return true;
}

bool QtUi::Slide(std::string_view name, int position) {
  Entry* e = Find(name);
  auto* slider = e ? dynamic_cast<QSlider*>(e->widget) : nullptr;
  if (!slider || !Reachable(e)) return false;
  const int target = std::clamp(position, slider->minimum(), slider->maximum());
  // Every step is a notification, also one that ends where it began.
  if (target == slider->value())
    Fire(e, UiEvent::PositionChanged);
  else
    slider->setValue(target);
  return true;
}

bool QtUi::CheckBox(std::string_view name, bool checked) {
  Entry* e = Find(name);
  auto* box = e ? dynamic_cast<QCheckBox*>(e->widget) : nullptr;
  if (!box || !Reachable(e)) return false;
  if (box->isChecked() != checked) box->click();
  return true;
}

bool QtUi::PickColour(std::string_view name, std::int32_t colour) {
  Entry* e = Find(name);
  auto* picker = e ? dynamic_cast<QtColourPicker*>(e->widget) : nullptr;
  if (!picker || !Reachable(e)) return false;
  picker->setColour(colour);
  return true;
}

bool QtUi::Close() {
  return window_->close();
}

}  // namespace orvane
