// The HUD text commands: NewHudT, SetHudT, HudT_Text, DelHudT, the setters,
// AutoSclHudT, HudTEsp, HudTProtect, HudTInfo and DelAllHudTs.
#include "core/command_args.h"
#include "core/handlers.h"
#include "hud/hud_command_frame.h"

namespace korvel {
namespace {

// The setter family: (HudTID, value, Relative, Global); the result is the
// field afterwards.
template <class Args, class Value>
void SetField(CommandCall& call, HudField field, Value (Args::*value)() const) {
  WithHud([&](Hud& hud) {
    Args a(call);
    call.SetResult(SetHudTField(hud, a.HudTID(), field, (a.*value)(), a.Relative() != 0,
                                Caller(call, a.Global())));
  });
}

}  // namespace

void Cmd_NewHudT(CommandCall& call) {
  WithHud([&](Hud& hud) {
    NewHudTArgs a(call);
    NewTextBox args;
    args.x = a.X();
    args.y = a.Y();
    args.width = a.Width();
    args.height = a.Height();
    args.layer = a.L();
    args.scale = a.Scale();
    args.opacity = a.Opacity();
    args.alignment = a.Alignment();
    args.autoscale = a.AutoScale();
    args.is_protected = a.Protected();
    args.esp_id = a.EspID();
    call.SetResultInt(NewHudT(hud, args, call.CallerEspId()));
  });
}

void Cmd_SetHudT(CommandCall& call) {
  WithHud([&](Hud& hud) {
    SetHudTArgs a(call);
    const HudTR* t = hud.texts().Get(a.HudTID());
    if (!t || !HudWritable(t->EspID, t->Protected, Caller(call, a.Global()))) return;
    std::optional<std::string> text = ResolveSource(a.Text());
    if (!text) return;
    std::optional<std::string> font = ResolveSource(a.FontName());
    if (!font) return;
    TextStyle style;
    style.text = std::move(*text);
    style.font_name = std::move(*font);
    style.show = a.Show();
    style.height = a.Height();
    style.width = a.Width();
    style.weight = a.Weight();
    style.italic = a.Italic();
    style.r = a.R();
    style.g = a.G();
    style.b = a.B();
    style.format = a.Format();
    StyleText(hud, a.HudTID(), style, Caller(call, a.Global()));
  });
}

void Cmd_HudT_Text(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudT_TextArgs a(call);
    if (hud.texts().Invalid(a.HudTID())) return;
    std::optional<std::string> text = ResolveSource(a.StringID());
    if (text) ReplaceText(hud, a.HudTID(), *text, Caller(call, a.Global()));
  });
}

void Cmd_DelHudT(CommandCall& call) {
  WithHud([&](Hud& hud) {
    DelHudTArgs a(call);
    DeleteHudT(hud, a.HudTID(), Caller(call, a.Global()));
  });
}

void Cmd_HudT_X(CommandCall& call) { SetField(call, HudField::kX, &HudT_XArgs::X); }
void Cmd_HudT_Y(CommandCall& call) { SetField(call, HudField::kY, &HudT_YArgs::Y); }
void Cmd_HudT_SclX(CommandCall& call) { SetField(call, HudField::kScaleX, &HudT_SclXArgs::ScaleX); }
void Cmd_HudT_SclY(CommandCall& call) { SetField(call, HudField::kScaleY, &HudT_SclYArgs::ScaleY); }
void Cmd_HudT_Show(CommandCall& call) { SetField(call, HudField::kShow, &HudT_ShowArgs::Show); }
void Cmd_HudT_Opac(CommandCall& call) { SetField(call, HudField::kOpacity, &HudT_OpacArgs::Opacity); }
void Cmd_HudT_Align(CommandCall& call) {
  SetField(call, HudField::kAlignment, &HudT_AlignArgs::Alignment);
}
void Cmd_HudT_L(CommandCall& call) { SetField(call, HudField::kLayer, &HudT_LArgs::L); }

void Cmd_AutoSclHudT(CommandCall& call) {
  WithHud([&](Hud& hud) {
    AutoSclHudTArgs a(call);
    call.SetResultInt(AutoScaleHudT(hud, a.HudTID(), a.AutoScale(), Caller(call, a.Global())));
  });
}

void Cmd_HudTEsp(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudTEspArgs a(call);
    call.SetResultInt(EspHudT(hud, a.HudTID(), a.EspID(), Caller(call, a.Global())));
  });
}

void Cmd_HudTProtect(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudTProtectArgs a(call);
    call.SetResultInt(ProtectHudT(hud, a.HudTID(), a.Protected(), call.CallerEspId()));
  });
}

void Cmd_HudTInfo(CommandCall& call) {
  WithHud([&](Hud& hud) {
    HudTInfoArgs a(call);
    call.SetResult(HudTInfo(hud, a.HudTID(), a.InfoType()));
  });
}

void Cmd_DelAllHudTs(CommandCall& call) {
  WithHud([&](Hud& hud) { DeleteAllHudT(hud, DelAllHudTsArgs(call).EspID(), call.CallerEspId()); });
}

}  // namespace korvel
