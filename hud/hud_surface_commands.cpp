// The HUD surface commands: NewHudS, DelHudS, the setters, AutoSclHudS,
// HudSEsp, HudSProtect, HudsInfo, DelAllHudSs and HudS_Tex.
#include "core/command_args.h"
#include "core/handlers.h"
#include "hud/hud_command_frame.h"

namespace korvel {
namespace {

// The setter family: (HudSID, value, Relative, Global); the result is the
// field afterwards.
template <class Args, class Value>
void SetField(CommandCall& call, HudField field, Value (Args::*value)() const) {
  WithHud([&](Hud& hud) {
    Args a(call);
    call.SetResult(SetHudSField(hud, a.HudSID(), field, (a.*value)(), a.Relative() != 0,
                                Caller(call, a.Global())));
  });
}

}  // namespace

void Cmd_NewHudS(CommandCall& call) {
  WithHud([&](Hud& hud) {
    NewHudSArgs a(call);
    std::optional<std::string> file = ResolveSource(a.Filename());
    if (!file) return;
    NewSurface args;
    args.filename = std::move(*file);
    args.root_id = a.RootID();
    args.show = a.Show();
    args.x = a.X();
    args.y = a.Y();
    args.layer = a.L();
    args.scale = a.Scale();
    args.opacity = a.Opacity();
    args.alignment = a.Alignment();
    args.autoscale = a.AutoScale();
    args.is_protected = a.Protected();
    args.esp_id = a.EspID();
    call.SetResultInt(NewHudS(hud, std::move(args), call.CallerEspId()));
  });
}

void Cmd_DelHudS(CommandCall& call) {
  WithHud([&](Hud& hud) {
    DelHudSArgs a(call);
    DeleteHudS(hud, a.HudSID(), Caller(call, a.Global()));
  });
}

void Cmd_HudS_X(CommandCall& call) { SetField(call, HudField::kX, &HudS_XArgs::X); }
void Cmd_HudS_Y(CommandCall& call) { SetField(call, HudField::kY, &HudS_YArgs::Y); }
void Cmd_HudS_SclX(CommandCall& call) { SetField(call, HudField::kScaleX, &HudS_SclXArgs::ScaleX); }
void Cmd_HudS_SclY(CommandCall& call) { SetField(call, HudField::kScaleY, &HudS_SclYArgs::ScaleY); }
void Cmd_HudS_Show(CommandCall& call) { SetField(call, HudField::kShow, &HudS_ShowArgs::Show); }
void Cmd_HudS_Opac(CommandCall& call) { SetField(call, HudField::kOpacity, &HudS_OpacArgs::Opacity); }
void Cmd_HudS_Align(CommandCall& call) {
  SetField(call, HudField::kAlignment, &HudS_AlignArgs::Alignment);
}
void Cmd_HudS_L(CommandCall& call) { SetField(call, HudField::kLayer, &HudS_LArgs::L); }

void Cmd_AutoSclHudS(CommandCall& call) {
  WithHud([&](Hud& hud) {
    AutoSclHudSArgs a(call);
    call.SetResultInt(AutoScaleHudS(hud, a.HudSID(), a.AutoScale(), Caller(call, a.Global())));
  });
}

void Cmd_HudSEsp(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudSEspArgs a(call);
    call.SetResultInt(EspHudS(hud, a.HudSID(), a.EspID(), Caller(call, a.Global())));
  });
}

void Cmd_HudSProtect(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudSProtectArgs a(call);
    call.SetResultInt(ProtectHudS(hud, a.HudSID(), a.Protected(), call.CallerEspId()));
  });
}

void Cmd_HudsInfo(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudsInfoArgs a(call);
    call.SetResult(HudSInfo(hud, a.HudSID(), a.InfoType()));
  });
}

void Cmd_DelAllHudSs(CommandCall& call) {
  WithHud([&](Hud& hud) { DeleteAllHudS(hud, DelAllHudSsArgs(call).EspID(), call.CallerEspId()); });
}

void Cmd_HudS_Tex(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudS_TexArgs a(call);
    if (hud.surfaces().Invalid(a.HudSID())) return;
    std::optional<std::string> file = ResolveSource(a.Filename());
    if (file) TextureHudS(hud, a.HudSID(), *file, a.RootID(), Caller(call, a.Global()));
  });
}

}  // namespace korvel
