#pragma once

namespace zondari {

class AppContext;
class frmMP3print;

// Joins the catalogue windows to the program: the player's load shows the
// catalogue window, the frame's hidden menu edits and deletes catalogues,
// and the settings save closes the file types window.
void registerCatalogue(AppContext& ctx);

// The catalogue window when it is open, else nothing.
frmMP3print* findCatalogueWindow(AppContext& ctx);

// The catalogue window, made and loaded first when it is not open.
frmMP3print* catalogueWindow(AppContext& ctx);

} // namespace zondari
