// Colours, texts and fonts as the overlay takes them in.
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QSessionManager>
#include <QStringList>
#include <algorithm>

#include "overlay/lyrics_window.h"
#include "overlay/overlay_window_proc.h"

namespace orvane {
namespace {

// The Windows families the look names, and the installed families that stand
// for them here, best first.
struct FamilyMapping {
  const char* windows_names[2];
  const char* installed[2];
};

constexpr FamilyMapping kFamilyMappings[] = {
    {{"微软雅黑", "Microsoft YaHei"}, {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei"}},
    {{"黑体", "SimHei"}, {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei"}},
    {{"楷体", "KaiTi"}, {"AR PL UKai CN", "AR PL UKai TW"}},
    {{"宋体", "SimSun"}, {"AR PL UMing CN", "AR PL UMing TW"}},
    {{"Tahoma", "Tahoma"}, {"DejaVu Sans", "DejaVu Sans"}},
};

class QuitWatcher : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
      EndDesktopSession();
    }
    return false;
  }
};

bool FamilyInstalled(const QString& family) {
  const QStringList families = QFontDatabase::families();
  return std::any_of(families.cbegin(), families.cend(), [&](const QString& installed) {
    return installed.compare(family, Qt::CaseInsensitive) == 0;
  });
}

}  // namespace

std::uint32_t ToArgb(std::int32_t colour, std::int32_t alpha, bool use_alpha) {
  const std::uint32_t a = use_alpha ? static_cast<std::uint32_t>(std::clamp(alpha, 0, 255)) : 255u;
  const auto value = static_cast<std::uint32_t>(colour);
  const std::uint32_t red = value & 0xFFu;
  const std::uint32_t green = (value >> 8) & 0xFFu;
  const std::uint32_t blue = (value >> 16) & 0xFFu;
  return (a << 24) | (red << 16) | (green << 8) | blue;
}

QString ToWide(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString MapFontFamily(const QString& family) {
  for (const FamilyMapping& mapping : kFamilyMappings) {
    if (family.compare(QString::fromUtf8(mapping.windows_names[0]), Qt::CaseInsensitive) != 0 &&
        family.compare(QString::fromUtf8(mapping.windows_names[1]), Qt::CaseInsensitive) != 0) {
      continue;
    }
    for (const char* installed : mapping.installed) {
      if (FamilyInstalled(QString::fromUtf8(installed))) return QString::fromUtf8(installed);
    }
  }
  return family;
}

std::optional<QFont> CreateFontFromList(std::string_view families, float pixel_size, int style) {
  const QStringList pieces = ToWide(families).split(u';', Qt::SkipEmptyParts);
  for (const QString& piece : pieces) {
    const QString family = MapFontFamily(piece.trimmed());
    if (family.isEmpty() || !FamilyInstalled(family)) continue;
    QFont font(family);
    font.setPixelSize(std::max(1, static_cast<int>(pixel_size + 0.5f)));
    font.setBold((style & 1) != 0);
    font.setItalic((style & 2) != 0);
    font.setUnderline((style & 4) != 0);
    // The line is drawn as a path: outlines as designed, not fitted to pixels.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
  }
  return std::nullopt;
}

void RegisterLyricsWindowClass() {
  static bool registered = false;
  if (registered || QGuiApplication::instance() == nullptr) return;
  registered = true;
  // Qt's own fallback for a Windows family name goes to the installed one,
  // glyph by glyph too.
  for (const FamilyMapping& mapping : kFamilyMappings) {
    QStringList installed;
    for (const char* name : mapping.installed) {
      if (FamilyInstalled(QString::fromUtf8(name))) installed << QString::fromUtf8(name);
    }
    if (installed.isEmpty()) continue;
    for (const char* name : mapping.windows_names) {
      QFont::insertSubstitutions(QString::fromUtf8(name), installed);
    }
  }
  DefaultWindowProc::Instance();
  // The application's own quit asks every window to close first and gives up
  // when one refuses: an overlay that refuses closing would keep the program
  // running with no window. Quitting ends the overlays' session too.
  qGuiApp->installEventFilter(new QuitWatcher(qGuiApp));
  // At the end of the desktop session the overlays let themselves be closed.
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, qGuiApp,
                   [](QSessionManager&) { EndDesktopSession(); });
  QObject::connect(qGuiApp, &QGuiApplication::aboutToQuit, qGuiApp, [] { EndDesktopSession(); });
}

namespace {
std::optional<WorkArea> g_work_area_override;
}

WorkArea DesktopWorkArea() {
  if (g_work_area_override) return *g_work_area_override;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect area = screen->availableGeometry();
  return {area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
}

void OverrideWorkArea(std::optional<WorkArea> area) {
  g_work_area_override = area;
}

}  // namespace orvane
