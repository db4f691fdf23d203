#include "app/window_behaviours.h"

#include <string>

namespace orvane {
namespace {

constexpr int kStrip = 3;
constexpr double kEpsilon = 1e-7;

// The values the docking rules read, taken at the moment a rule is evaluated.
struct DockView {
  int L, T, W, H, SW, SH, MX, MY;
};

DockView Read(const Ui& ui, const Screen& screen) {
  const ScreenSize s = screen.PrimarySize();
  const ScreenPoint p = screen.Pointer();
  const std::string_view w = Ui::kWindow;
  return {ui.Left(w), ui.Top(w), ui.Width(w), ui.Height(w), s.width, s.height, p.x, p.y};
}

// Comparisons of sums and differences are made in double precision with a
// tolerance, as the rules were first written; for whole numbers they reduce
// to the plain integer comparisons.
double D(int v) {
  return static_cast<double>(v);
}
bool Below(double diff) {
  return diff < -kEpsilon;
}  // X - Y < -e
bool Above(double diff) {
  return diff > kEpsilon;
}  // X - Y > e
bool AtLeast(double diff) {
  return diff >= -kEpsilon;
}  // X - Y >= -e

void SetWindowLeft(Ui& ui, int x) {
  ui.SetLeft(Ui::kWindow, x);
}
void SetWindowTop(Ui& ui, int y) {
  ui.SetTop(Ui::kWindow, y);
}

std::string VolumeText(const Ui& ui) {
  return std::to_string(ui.SliderPosition("滑块条1"));
}

}  // namespace

void DockAtScreenEdge(Ui& ui, const Screen& screen) {
  DockView v = Read(ui, screen);
  // R1, top-left corner: hand the window to the left-edge rules.
  if (v.L < 0 && v.T < 0) ui.Move(Ui::kWindow, 0, 1);

  v = Read(ui, screen);
  // R2, top-right corner: hand the window to the top-edge rules.
  if (AtLeast(D(v.L) - (D(v.SW) - D(v.W))) && v.T < 0)
    ui.Move(Ui::kWindow, static_cast<int>(D(v.SW) - D(v.W) - 1), 0);

  v = Read(ui, screen);
  // R3, reveal at the top.
  if (v.T < 0 && v.MX > v.L && Below(D(v.MX) - (D(v.L) + D(v.W))) && v.MY < kStrip)
    SetWindowTop(ui, 0);

  v = Read(ui, screen);
  // R4, hide at the top.
  if (v.T <= 0 && v.L > 0 && Below(D(v.L) - (D(v.SW) - D(v.W))) &&
      (v.MX < v.L || Above(D(v.MX) - (D(v.L) + D(v.W))) || Above(D(v.MY) - (D(v.T) + D(v.H)))))
    SetWindowTop(ui, static_cast<int>(D(kStrip) - D(v.H)));

  v = Read(ui, screen);
  // R5, reveal at the left.
  if (v.L < 0 && v.MY > v.T && Below(D(v.MY) - (D(v.T) + D(v.H))) && v.MX < kStrip)
    SetWindowLeft(ui, 0);

  v = Read(ui, screen);
  // R6, hide at the left.
  if (v.L <= 0 && v.T > 0 && Below(D(v.T) - (D(v.SH) - D(v.H))) &&
      (v.MY < v.T || Above(D(v.MY) - (D(v.T) + D(v.H))) || v.MX > v.W))
    SetWindowLeft(ui, static_cast<int>(D(kStrip) - D(v.W)));

  v = Read(ui, screen);
  // R7, reveal at the right. It does not look at L, so it also pulls a window
  // from anywhere on the screen to the right edge.
  if (Above(D(v.MX) - (D(v.SW) - kStrip)) && v.MY > v.T && Below(D(v.MY) - (D(v.T) + D(v.H))))
    SetWindowLeft(ui, static_cast<int>(D(v.SW) - D(v.W)));

  v = Read(ui, screen);
  // R8, hide at the right.
  if (AtLeast(D(v.L) - (D(v.SW) - D(v.W))) && v.T > 0 && Below(D(v.T) - (D(v.SH) - D(v.H))) &&
      (v.MY < v.T || Above(D(v.MY) - (D(v.T) + D(v.H))) || Below(D(v.MX) - (D(v.SW) - D(v.W)))))
    SetWindowLeft(ui, static_cast<int>(D(v.SW) - kStrip));
}

void ShowVolumeTip(Ui& ui) {
  ui.SetCaption("提示", "音量：" + VolumeText(ui));
}

namespace {

void OnSettingsClicked(Context& ctx) {
  Ui& ui = ctx.ui;
  ui.SetVisible("滑块条1", false);
  ui.SetLeft("外形框1", ui.Left("外形框1") == kPanelClosedX ? kPanelOpenX : kPanelClosedX);
}

void OnVolumeClicked(Context& ctx) {
  ctx.ui.SetVisible("滑块条1", !ctx.ui.Visible("滑块条1"));
}

void OnSliderMoved(Context& ctx) {
  const std::string volume = VolumeText(ctx.ui);
  if (ctx.state.player) ctx.state.player->SetVolume(volume);
  ShowVolumeTip(ctx.ui);  // read again: the player may have dispatched meanwhile
}

void OnSliderReleased(Context& ctx) {
  ctx.ui.SetVisible("滑块条1", false);
}

void OnTipTimer(Context& ctx) {
  ShowVolumeTip(ctx.ui);
  ctx.ui.SetPeriod("时钟2", 0);
}

}  // namespace

void BindWindowBehaviours(Context& ctx) {
  Ui& ui = ctx.ui;
  ui.Bind("时钟1", UiEvent::Tick, [&ctx] { DockAtScreenEdge(ctx.ui, ctx.screen); });
  ui.Bind("设置", UiEvent::Clicked, [&ctx] { OnSettingsClicked(ctx); });
  ui.Bind("音量", UiEvent::Clicked, [&ctx] { OnVolumeClicked(ctx); });
  ui.Bind("滑块条1", UiEvent::PositionChanged, [&ctx] { OnSliderMoved(ctx); });
  ui.Bind("滑块条1", UiEvent::LeftReleased, [&ctx] { OnSliderReleased(ctx); });
  ui.Bind("时钟2", UiEvent::Tick, [&ctx] { OnTipTimer(ctx); });
  // Docking runs from the window's creation to its end.
  ui.SetPeriod("时钟1", kDockTimerMs);
}

}  // namespace orvane
