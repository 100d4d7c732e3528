#pragma once

namespace zondari {

class AppContext;
class FrmPreview;
class fONTEN;

// The print preview, made and placed in the frame when it is not open, then
// brought up to date with the settings and the catalogue and made active.
FrmPreview* showPreview(AppContext& ctx);

// The preview when it is open, else nothing.
FrmPreview* findPreview(AppContext& ctx);

// The font chooser, shown modally; it is made once and afterwards only
// hidden, so it keeps its state between showings.
void showFontChooser(AppContext& ctx);

// The font chooser once it has been made, else nothing.
fONTEN* findFontChooser(AppContext& ctx);

} // namespace zondari
