#pragma once

#include <string>

class QWidget;

namespace zondari {

class AppContext;

// The catalogue's pages as the windows make them. Each runs inside a
// handler's guard: a page that cannot be written or a launcher that cannot
// start fails the handler with the runtime error report.

// Show contents: the catalogue file `catalogueName` of the program folder
// (empty when no catalogue is selected) becomes "default.htm", opened in the
// browser, and the current catalogue. A missing file gets a message and
// changes nothing.
void showContents(AppContext& ctx, const std::string& catalogueName);

// The toolbar's "html": "default.htm" of the current catalogue, opened in
// the browser.
void exportEntryList(AppContext& ctx);

// The general database page (`ricerca` "*") or the search page for
// `ricerca` with the program-wide search options, from every catalogue of
// the user; opened in the browser, except a search without hits, which is
// told in a message. The general page brings the pocket catalogue up to
// date beside it.
void rebuildnew(AppContext& ctx, const std::string& ricerca);

// The free search: asks for the text in the search dialog (again after a
// text of one character) and makes its search page.
void cerca(AppContext& ctx, QWidget* parent = nullptr);

// The pocket catalogue: every catalogue of the user in one page that
// searches as the user types, written in the program folder and opened in
// the browser. Without any catalogue, the general page's message and no
// page.
void pocketCatalogue(AppContext& ctx);

// "Trova doppioni": the page of the same music found in more than one
// place across the user's catalogues, written in the program folder and
// opened in the browser; a message when there is none.
void findDuplicates(AppContext& ctx);

// Joins the pages to the program: show contents from the catalogue
// window's button, its list's double click and the frame's hidden menu.
void registerPages(AppContext& ctx);

} // namespace zondari
