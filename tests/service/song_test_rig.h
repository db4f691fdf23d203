#pragma once
// A handler rig for the song tests: ProgramState with a MediaPlayer over a
// FakeMediaControl and a recording overlay, FakeUi holding the controls the
// sequencer, the lyric timer and the playback controls touch, in their start
// state, and the desktop fakes.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/context.h"
#include "overlay/lyrics_window.h"
#include "player/media_player.h"
#include "support/fake_media_control.h"
#include "support/fake_ui.h"
#include "support/fakes.h"

namespace orvane {

class RecordingLyricsWindow : public LyricsWindow {
 public:
  std::vector<std::string> texts;
  void SetText(std::string_view line, std::optional<int> /*percent*/) override {
    texts.emplace_back(line);
  }
};

struct SongRig {
  ProgramState state;
  FakeUi ui;
  FakeScreen screen;
  FakeClipboard clipboard;
  FakeShell shell;
  FakeHttpGetter http;
  std::shared_ptr<FakeMediaControl> media = std::make_shared<FakeMediaControl>();
  RecordingLyricsWindow* overlay = nullptr;
  Context ctx{state, ui, screen, clipboard, shell, http, "."};

  SongRig() {
    state.player = std::make_unique<MediaPlayer>(media);
    auto window = std::make_unique<RecordingLyricsWindow>();
    overlay = window.get();
    state.lyricsWindow = std::move(window);
    state.channelId = "-10";
    state.service.music = "https://music.example";

    ui.AddControl(Ui::kWindow).caption = "OrvaneV1.3";
    ui.AddControl("标签1").caption = "Orvane";
    ui.AddControl("标签2").caption = "当前暂无歌词";
    ui.AddControl("标签3").caption = "00:00/00:00";
    ui.AddControl("标签4").caption = "128kbs";
    ui.AddControl("标签5").caption = "豆瓣精选 MHz";
    ui.AddControl("提示").caption = "音量：100";
    ui.AddControl("图片框1").picture = "placeholder";
    ui.AddControl("图片框2");
    ui.AddControl("相似歌曲").visible = false;
    ui.AddControl("暂停按钮");
    ui.AddControl("继续播放").visible = false;
    ui.AddControl("组合框1").visible = false;
    ui.AddControl("滑块条1").visible = false;
    ui.control("滑块条1").slider = 100;
    ui.AddControl("外形框1").left = 430;
    ui.AddControl("进度条_绿").height = 3;
    ui.AddControl("进度条_灰").width = 390;
    ui.AddControl("times");
    ui.AddControl("时钟2");
  }

  // MediaPlayer reads position and duration only once it has had a URL.
  void LoadSomething() {
    state.player->SetUrl("http://127.0.0.1:1/audio/a.mp3");
    media->calls.clear();
  }

  FakeUi::Control& c(std::string_view name) { return ui.control(name); }
};

}  // namespace orvane
