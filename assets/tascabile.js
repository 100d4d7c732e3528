(function () {
"use strict";
const $ = (id) => document.getElementById(id);
const box = $("q"), dirsBox = $("cartelle"), caseBox = $("maiuscole");
const stato = $("stato"), list = $("risultati"), more = $("altri");
const PAGE = 1000;
const HINT = "Scrivere nella casella il nome di una canzone, di un autore o di una cartella, "
  + "oppure anche una parte solamente: la ricerca avviene mentre si scrive, in tutti i CD e le cartelle catalogati.";
const SHORT = "Inserire una stringa per la ricerca composta almeno da 2 caratteri!";

// Upper case as the program takes it: one character at a time, as the C
// library's UTF-8 tables give it.
const upper = new Map();
for (let i = 0; i < UPPER.length; i += 4)
  for (let k = 0; k < UPPER[i + 1]; ++k) upper.set(UPPER[i] + k * UPPER[i + 2], UPPER[i] + k * UPPER[i + 2] + UPPER[i + 3]);
function upperOf(cp) { return cp < 128 ? (cp >= 97 && cp <= 122 ? cp - 32 : cp) : (upper.get(cp) ?? cp); }
function fold(s) {
  let out = "";
  for (const ch of s) out += String.fromCodePoint(upperOf(ch.codePointAt(0)));
  return out;
}
// Long texts go through the browser's own upper-casing, which is far
// faster, except for the characters it treats otherwise (such as "ß").
const odd = [];
for (let i = 0; i < COUNTS.length; i += 2) {
  const ch = String.fromCodePoint(COUNTS[i]);
  if (COUNTS[i] >= 128 && ch.toUpperCase() !== fold(ch)) odd.push("\\u{" + COUNTS[i].toString(16) + "}");
}
const oddRe = odd.length ? new RegExp("(" + odd.join("|") + ")", "u") : null;
function foldText(s) {
  if (!oddRe) return s.toUpperCase();
  const parts = s.split(oddRe);
  for (let i = 0; i < parts.length; ++i) parts[i] = i % 2 ? fold(parts[i]) : parts[i].toUpperCase();
  return parts.join("");
}

// How often each character (UTF-16 unit) occurs in the catalogues, as
// written and upper-cased: a search looks first for the rarest one.
const rawCounts = new Map(), foldedCounts = new Map();
function addCount(counts, text, n) {
  for (let j = 0; j < text.length; ++j) counts.set(text.charCodeAt(j), (counts.get(text.charCodeAt(j)) ?? 0) + n);
}
for (let i = 0; i < COUNTS.length; i += 2) {
  const ch = String.fromCodePoint(COUNTS[i]);
  addCount(rawCounts, ch, COUNTS[i + 1]);
  addCount(foldedCounts, foldText(ch), COUNTS[i + 1]);
}

// The catalogues: one text, each catalogue as lines: its title, its file
// name, "F,K,items..." (F folders, K names, the items of pocket.h), the
// links given ("n url" pairs), the set of its letter pairs (and W, with
// data), then its F folders and its K names; with data, W words and K data
// lines.
let T = $("dati").textContent;
if (T.includes("\x10")) T = T.replace(/\x10([0-9A-F]{2})/g, (m, h) => String.fromCharCode(parseInt(h, 16)));
function lineStarts(s, n) {
  const starts = new Int32Array(n + 1);
  for (let i = 1, p = 0; i <= n; ++i) starts[i] = p = s.indexOf("\n", p) + 1;
  return starts;
}
const ls = lineStarts(T, LINES);
const line = (l) => T.slice(ls[l], ls[l + 1] - 1);
const cats = [];
// A folder or a file is known by the number of its line.
let nNames = 0, nFolders = 0, nItems = 0;
for (let l = 0; l < LINES;) {
  const nums = line(l + 2).split(",").map(Number), F = nums[0], K = nums[1];
  let count = 0;
  for (let k = 2; k < nums.length; ++k, ++count) if ((nums[k] & 3) === 0) ++k;
  const pairs = line(l + 4).split(" "), W = pairs.length > 2 ? Number(pairs[2]) : 0;
  cats.push({ title: line(l), file: line(l + 1), nums, links: line(l + 3), folderLine: l + 5, nameLine: l + 5 + F,
    F, K, shift: 32 - Number(pairs[0]), pairs: atob(pairs[1]), firstFile: nNames, W, wordLine: l + 5 + F + K,
    dataLine: l + 5 + F + K + W });
  nFolders += F; nNames += K; nItems += count; l += 5 + F + K + (W ? W + K : 0);
}
const itemKind = new Uint8Array(nItems), itemFolder = new Int32Array(nItems), itemCat = new Int32Array(nItems);
const itemFirst = new Int32Array(nItems), itemCount = new Int32Array(nItems);
const links = new Map();
cats.forEach((cat, c) => {
  const nums = cat.nums;
  cat.firstItem = c ? cats[c - 1].firstItem + cats[c - 1].items : 0;
  let it = cat.firstItem, name = cat.nameLine;
  for (let k = 2; k < nums.length; ++k, ++it) {
    itemKind[it] = nums[k] & 3; itemFolder[it] = cat.folderLine + (nums[k] >> 2); itemCat[it] = c;
    if ((nums[k] & 3) === 0) { itemFirst[it] = name; itemCount[it] = nums[++k]; name += nums[k]; }
  }
  cat.items = it - cat.firstItem;
  const pairs = cat.links ? cat.links.split(" ") : [];
  for (let k = 0; k + 1 < pairs.length; k += 2) links.set(cat.nameLine + Number(pairs[k]), pairs[k + 1]);
  cat.nums = cat.links = null;
});
// The scan's data of each file, by its number: its size's word (-1: no
// data), whether it is MP3 audio, its play time and kbps, and the words of
// its title, artist, album, year and genre (-1: empty), by their number in
// its catalogue.
const withData = cats.some((cat) => cat.W);
const dSize = new Int32Array(withData ? nNames : 0).fill(-1), dAudio = new Uint8Array(dSize.length);
const dSec = new Int32Array(dSize.length), dKbps = new Int32Array(dSize.length);
const dTag = new Int32Array(dSize.length * 5).fill(-1);
// A data line's fields: an empty one is the MP3 before's, "-" an empty tag.
// A catalogue's lines are read after the page is ready, or first by the
// search or the list that needs them.
const field = new Int32Array(8), read = new Int32Array(8);
function readData(cat) {
  if (!cat.W || cat.read) return;
  cat.read = true;
  for (let k = 0, g = cat.firstFile; k < cat.K; ++k, ++g) {
    const end = ls[cat.dataLine + k + 1] - 1;
    if (ls[cat.dataLine + k] === end) continue;
    let f = 0, n = -1, neg = false, given = 0;
    for (let p = ls[cat.dataLine + k]; p <= end && f < 8; ++p) {
      const c = p < end ? T.charCodeAt(p) : 44;
      if (c === 44) {
        if (n >= 0 || neg) { read[f] = n < 0 ? -1 : neg ? -n : n; given |= 1 << f; }
        ++f; n = -1; neg = false;
      } else if (c === 45) neg = true;
      else n = (n < 0 ? 0 : n * 10) + c - 48;
    }
    if (f === 1) { dSize[g] = read[0]; continue; }
    for (let i = 0; i < 8; ++i) if (given & (1 << i)) field[i] = read[i];
    dAudio[g] = 1; dSec[g] = field[0]; dKbps[g] = field[1]; dSize[g] = field[2];
    for (let t = 0; t < 5; ++t) dTag[g * 5 + t] = field[3 + t];
  }
}
const TF = foldText(T);
const lsF = TF.length === T.length ? ls : lineStarts(TF, LINES);

// The line of `starts` that holds position p, among lines lo to hi - 1.
function locate(starts, p, lo, hi) {
  while (hi - lo > 1) { const mid = (lo + hi) >> 1; if (starts[mid] <= p) lo = mid; else hi = mid; }
  return lo;
}

// The search: every entry that holds the text, in catalogue order. Files
// are hits; folder entries are listed (with their option) but not counted.
// The text is looked for once from the start of the catalogues to their
// end, and only as far as the hits asked for so far: the first page is
// found and shown at once, the rest are counted a slice at a time
// afterwards, until a newer search takes over.
const fHit = new Uint8Array(LINES);
let resItem = new Int32Array(4096), resName = new Int32Array(4096);
let search = null;

// Where the text next occurs in `hay` from `from` on (-1: nowhere). When
// one of its characters is rare in the catalogues, the browser's fast scan
// for one character finds the places worth comparing.
function anchorOf(nd, counts) {
  let at = 0, least = Infinity;
  for (let j = 0; j < nd.length; ++j) {
    const c = counts.get(nd.charCodeAt(j)) ?? 0;
    if (c < least) { least = c; at = j; }
  }
  return least * 64 > T.length ? -1 : at;
}
function finder(hay, nd, at) {
  if (at < 0) return (from) => hay.indexOf(nd, from);
  const anchor = nd[at];
  return (from) => {
    for (let p = hay.indexOf(anchor, from + at); p >= 0; p = hay.indexOf(anchor, p + 1))
      if (hay.startsWith(nd, p - at)) return p - at;
    return -1;
  };
}

// The letter pairs of a text that a catalogue must hold to hold the text:
// those in a folder or a name, not one that spans a folder's end and a
// name's start, nor one with the parentheses of a folder entry.
function pairsOf(text) {
  const up = fold(text), sep = Math.max(up.lastIndexOf("/"), up.lastIndexOf("\\")), out = [];
  for (let j = 0; j + 1 < up.length; ++j)
    if (j !== sep && !"()".includes(up[j]) && !"()".includes(up[j + 1])) out.push(up.charCodeAt(j) << 16 | up.charCodeAt(j + 1));
  return out;
}
function mayHold(s, cat) {
  for (const x of s.pairs) {
    const h = Math.imul(x, 0x9E3779B1) >>> cat.shift;
    if (!(cat.pairs.charCodeAt(h >> 3) & (1 << (h & 7)))) return false;
  }
  return true;
}

// Field filters in the search text: autore:, titolo:, album:, genere:
// (the tag holds the value), anno: (the year is the value), each value up
// to the next space or in double quotes; kbps<N, kbps>N; durata<T and
// durata>T with T as S, M:SS or H:MM:SS. What is left of the text, less
// each filter and the spaces after it, is searched as before.
const TAGS = new Map([["titolo", 0], ["autore", 1], ["album", 2], ["anno", 3], ["genere", 4]]);
const KBPS = /^kbps([<>])(\d{1,6})$/, DURATA = /^durata([<>])(\d{1,5}|\d{1,5}:[0-5]\d|\d{1,3}:[0-5]\d:[0-5]\d)$/;
const isSpace = (c) => c === " " || c === "\t";
const asciiLower = (s) => s.replace(/[A-Z]/g, (c) => c.toLowerCase());
// The filter at `start` of `text` whose plain token ends at `end`, with
// where it ends; null when it is none.
function filterAt(text, start, end) {
  const token = text.slice(start, end), colon = token.indexOf(":"), key = asciiLower(token.slice(0, colon));
  if (colon > 0 && TAGS.has(key)) {
    let value = token.slice(colon + 1), stop = end;
    if (value[0] === "\"") {
      const close = text.indexOf("\"", start + colon + 2);
      if (close < 0 || (close + 1 < text.length && !isSpace(text[close + 1]))) return null;
      value = text.slice(start + colon + 2, close);
      stop = close + 1;
    }
    return value ? { filter: { tag: TAGS.get(key), exact: key === "anno", value }, end: stop } : null;
  }
  const low = asciiLower(token), m = KBPS.exec(low) || DURATA.exec(low);
  if (!m) return null;
  const n = m[2].split(":").reduce((sum, part) => sum * 60 + Number(part), 0);
  return { filter: { tag: -1, sec: low[0] === "d", less: m[1] === "<", n }, end };
}
function parseQuery(text) {
  const filters = [];
  let rest = "", from = 0;
  for (let i = 0; i < text.length;) {
    if (isSpace(text[i])) { ++i; continue; }
    let end = i;
    while (end < text.length && !isSpace(text[end])) ++end;
    const found = filterAt(text, i, end);
    if (!found) { i = end; continue; }
    filters.push(found.filter);
    rest += text.slice(from, i);
    for (i = found.end; i < text.length && isSpace(text[i]);) ++i;
    from = i;
  }
  return { filters, rest: filters.length ? (rest + text.slice(from)).replace(/^[ \t]+|[ \t]+$/g, "") : text };
}

function startSearch(text, cs, dirs, filters = [], shown = text) {
  const nd = cs ? text : fold(text), sep = Math.max(nd.lastIndexOf("/"), nd.lastIndexOf("\\"));
  const H = cs ? T : TF;
  return { text: shown, cs, dirs, nd, H, st: cs ? ls : lsF, anchor: anchorOf(nd, cs ? rawCounts : foldedCounts), pairs: pairsOf(text),
    head: nd.slice(0, sep + 1), tail: nd.slice(sep + 1), spans: sep >= 0, paren: /[()]/.test(nd),
    filters: filters.length ? filters.map((f) => f.tag < 0 ? f : { ...f, v: cs ? f.value : fold(f.value), ok: new Uint8Array(0) }) : null,
    from: 0, at: -1, entered: -1, item: 0, total: 0, length: 0, done: false };
}

// Which words of catalogue c each text filter holds for; false when one
// holds for none, so that no file of the catalogue can pass.
function enterWords(s, cat) {
  const H = s.H, st = s.st, top = st[cat.dataLine];
  s.fileBase = cat.firstFile - cat.nameLine;
  for (const f of s.filters) {
    if (f.tag < 0) continue;
    if (f.ok.length < cat.W) f.ok = new Uint8Array(cat.W * 2);
    f.ok.fill(0, 0, cat.W);
    // A word is a line and a value holds no line feed: each place found is within one word.
    const hay = H.slice(st[cat.wordLine], top), base = st[cat.wordLine], L = f.v.length;
    let any = false;
    for (let p = hay.indexOf(f.v), l = cat.wordLine; p >= 0; p = hay.indexOf(f.v, st[l + 1] - base)) {
      l = locate(st, p + base, l, cat.dataLine);
      if (!f.exact || (p + base === st[l] && st[l] + L === st[l + 1] - 1)) { f.ok[l - cat.wordLine] = 1; any = true; }
    }
    if (!any) return false;
  }
  return true;
}
// Whether every filter holds for the file of name line i.
function holds(s, i) {
  const g = i + s.fileBase;
  if (!dAudio[g]) return false;
  for (const f of s.filters) {
    if (f.tag >= 0) {
      const w = dTag[g * 5 + f.tag];
      if (w < 0 || !f.ok[w]) return false;
    } else {
      const x = f.sec ? dSec[g] : dKbps[g];
      if (f.less ? !(x < f.n) : !(x > f.n)) return false;
    }
  }
  return true;
}

// The first place at or after `from` where the text occurs; Infinity when
// none. The last answer is kept, as the places asked for only grow.
function hitFrom(s, from) {
  if (from < s.from || s.at < from) {
    const p = s.find(from - s.base);
    s.from = from;
    s.at = p < 0 ? Infinity : p + s.base;
  }
  return s.at;
}

// Which folders of catalogue c hold the text. Bit 1: the folder does; 2: it
// does without its last character too (the folder entry's path); 4: it ends
// as the text does up to the text's last separator, so that its files whose
// names start with the rest of the text match.
function enter(s, c) {
  const cat = cats[c], st = s.st, H = s.H, L = s.nd.length, top = cat.folderLine + cat.F;
  s.entered = c;
  if (s.filters && !enterWords(s, cat)) return false;
  // Looked for within this catalogue only, which the search may be
  // passing over many others to reach.
  s.base = st[cat.folderLine];
  s.find = finder(H.slice(s.base, st[cat.nameLine + cat.K]), s.nd, s.anchor);
  s.from = 0; s.at = -1;
  fHit.fill(0, cat.folderLine, top);
  for (let p = hitFrom(s, st[cat.folderLine]), l = cat.folderLine; p < st[top]; p = hitFrom(s, st[l + 1])) {
    l = locate(st, p, l, top);
    fHit[l] |= p + L < st[l + 1] - 1 ? 3 : 1;
  }
  if (s.spans)
    for (let l = cat.folderLine; l < top; ++l) {
      const end = st[l + 1] - 1 - s.head.length;
      if (end >= st[l] && H.startsWith(s.head, end)) fHit[l] |= 4;
    }
  return true;
}

// A file that holds the text is a hit when it passes the filters.
function take(s, it, i) {
  if (s.filters && !holds(s, i)) return;
  keep(it, i); ++s.total;
}
function keep(it, i) {
  if (search.length === resItem.length) {
    const a = new Int32Array(search.length * 2), b = new Int32Array(search.length * 2);
    a.set(resItem); b.set(resName); resItem = a; resName = b;
  }
  resItem[search.length] = it; resName[search.length++] = i;
}

// Goes on through the catalogues until `hits` more files are found or the
// time is up; false when there is more to do.
function walk(s, hits, until) {
  const goal = s.total + hits, H = s.H, st = s.st;
  for (; s.item < nItems; ++s.item) {
    if (s.total >= goal || ((s.item & 255) === 0 && performance.now() > until)) return false;
    const it = s.item, f = itemFolder[it], kind = itemKind[it];
    if (itemCat[it] !== s.entered) {
      const cat = cats[itemCat[it]];
      if (s.filters) readData(cat);
      if ((s.filters && !cat.W) || !mayHold(s, cat) || !enter(s, itemCat[it])) {
        s.item = cat.firstItem + cat.items - 1;
        continue;
      }
    }
    if (kind !== 0) {
      if (s.dirs && !s.filters && (s.paren ? ("(" + H.slice(st[f], st[f + 1] - 2) + (kind === 1 ? ")" : "")).includes(s.nd)
        : fHit[f] & 2))
        keep(it, -1);
      continue;
    }
    const first = itemFirst[it], stop = first + itemCount[it];
    if (fHit[f] & 1) {
      if (s.filters) for (let i = first; i < stop; ++i) take(s, it, i);
      else {
        for (let i = first; i < stop; ++i) keep(it, i);
        s.total += stop - first;
      }
    } else if (fHit[f] & 4) {
      for (let i = first; i < stop; ++i) if (H.startsWith(s.tail, st[i])) take(s, it, i);
    } else if (!s.spans) {
      for (let p = hitFrom(s, st[first]), l = first; p < st[stop]; p = hitFrom(s, st[l + 1])) {
        l = locate(st, p, l, stop);
        take(s, it, l);
      }
    }
  }
  s.done = true;
  return true;
}

// What the user sees.
const ESC = { "&": "&amp;", "<": "&lt;", ">": "&gt;", "\"": "&quot;" };
const SPECIAL = /[&<>"]/;
function esc(s) { return SPECIAL.test(s) ? s.replace(/[&<>"]/g, (c) => ESC[c]) : s; }
// The file URL of a path, as the program's other pages write it: letters,
// digits and the marks safe in a path as they are, every other byte of the
// UTF-8 text percent-encoded.
const KEPT = [];
for (let c = 0; c < 128; ++c) {
  const ch = String.fromCharCode(c);
  KEPT[c] = /[A-Za-z0-9\-._~\/!$'()*+,;=:@]/.test(ch) ? ch : "%" + c.toString(16).toUpperCase().padStart(2, "0");
}
function encodePath(s, backslash) {
  let out = "";
  for (let i = 0; i < s.length; ++i) {
    const c = s.charCodeAt(i);
    if (c < 128) out += backslash && c === 92 ? "/" : KEPT[c];
    else {
      const wide = c >= 0xd800 && c < 0xdc00 && i + 1 < s.length;
      out += encodeURIComponent(wide ? s.slice(i, ++i + 1) : s[i]);
    }
  }
  return out;
}
function fileUrl(p) {
  const c0 = p.charCodeAt(0) | 32;
  if (p.length >= 2 && p[1] === ":" && c0 >= 97 && c0 <= 122)
    return "file:///" + p.slice(0, 2) + (p.length === 2 ? "/" : "") + encodePath(p.slice(2), true);
  if (p.startsWith("\\\\")) return "file:" + encodePath(p, true);
  if (p.startsWith("/")) return "file://" + encodePath(p, false);
  return "file:///" + encodePath(p, !p.includes("/"));
}
// The address that hands the entry to Zondari, which plays it from its disc.
// A name that is not UTF-8 goes as the bytes its file link holds.
function playUrl(cat, path, link) {
  const entry = link ? link.slice(7).replace(/[&#]/g, (c) => (c === "&" ? "%26" : "%23")) : encodeURIComponent(path);
  return "zondari:riproduci?catalogo=" + encodeURIComponent(cat.file) + "&voce=" + entry;
}
const folderText = (f) => line(f);
// "3:05 · 3,4 MB" for a file with data, as the program writes them.
function dataOf(cat, i) {
  const g = i + cat.firstFile - cat.nameLine;
  readData(cat);
  if (!withData || dSize[g] < 0) return "";
  const size = line(cat.wordLine + dSize[g]), sec = dSec[g];
  return "<span class=\"dati\">" + esc(dAudio[g] ? Math.trunc(sec / 60) + ":" + String(sec % 60).padStart(2, "0") + " · " + size : size)
    + "</span>";
}
let shown = 0, hitsShown = 0, lastCat = -1;
// The next page of hits, once they are found.
function showMore() {
  const s = search;
  if (!s.done) walk(s, hitsShown + PAGE - s.total, Infinity);
  // Rows in blocks that the browser lays out only when they come into view.
  let html = "<div class=\"blocco\">";
  for (let budget = PAGE, rows = 0; shown < s.length; ++shown, ++rows) {
    const it = resItem[shown], i = resName[shown], c = itemCat[it];
    if (i >= 0 && budget === 0) break;
    if (rows === 50) { html += "</div><div class=\"blocco\">"; rows = 0; }
    if (c !== lastCat) {
      lastCat = c;
      html += "<h2>Raccolta musicale : \"" + esc(cats[c].title) + "\"</h2><p class=\"file\">" + esc(cats[c].file) + "</p>";
    }
    if (i < 0) {
      const f = folderText(itemFolder[it]);
      html += "<p class=\"cartella\">" + esc("(" + f.slice(0, -1) + (itemKind[it] === 1 ? ")" : "")) + "</p>";
      continue;
    }
    const path = folderText(itemFolder[it]) + line(i), link = links.get(i);
    html += "<a class=\"suona\" title=\"Riproduci con Zondari\" href=\"" + esc(playUrl(cats[c], path, link)) + "\">&#9654;</a>"
      + dataOf(cats[c], i) + "<a href=\"" + esc(link ?? fileUrl(path)) + "\">" + esc(path) + "</a>";
    --budget; ++hitsShown;
  }
  list.insertAdjacentHTML("beforeend", html + "</div>");
  tell();
}

// The count line and the button for the rest.
function tell() {
  const s = search, rest = s.total - hitsShown;
  more.hidden = rest <= 0 && s.done;
  more.textContent = s.done ? "Mostra altri " + Math.min(rest, PAGE) + " risultati (ne restano " + rest + ")"
    : "Mostra altri risultati";
  if (s.done && s.total === 0)
    stato.textContent = "Non trovato nessun file musicale contenente la stringa : " + s.text;
  else
    stato.textContent = (s.done ? "Trovati " : "Trovati finora ") + s.total + " files contenenti la stringa : " + s.text
      + (rest > 0 || !s.done ? " (mostrati i primi " + hitsShown + ")" : "");
}

// Counts the rest a slice at a time, so that typing stays quick.
function countRest(s) {
  if (s !== search || s.done) return;
  walk(s, Infinity, performance.now() + 8);
  if (s.done) tell(); else setTimeout(() => countRest(s), 0);
}

function update() {
  const text = box.value.replace(/[\r\n]/g, "");
  syncHash();
  list.textContent = "";
  more.hidden = true;
  search = null;
  if (!text) { stato.textContent = HINT; return; }
  const q = parseQuery(text);
  if (q.filters.length ? [...q.rest].length === 1 : [...text].length < 2) { stato.textContent = SHORT; return; }
  search = startSearch(q.rest, caseBox.checked, dirsBox.checked, q.filters, text);
  shown = hitsShown = 0; lastCat = -1;
  showMore();
  // Counting waits for the hits found so far to be drawn.
  const s = search;
  if (!s.done) requestAnimationFrame(() => setTimeout(() => countRest(s), 0));
}

// The search in the address, so that a link or a bookmark carries it:
// #q=text&maiuscole=1&cartelle=0, percent-encoded.
function hashNow() {
  if (!box.value) return "";
  return "#q=" + encodeURIComponent(box.value) + (caseBox.checked ? "&maiuscole=1" : "") + (dirsBox.checked ? "" : "&cartelle=0");
}
function syncHash() {
  const h = hashNow();
  if (location.hash !== h) history.replaceState(null, "", h || location.pathname + location.search);
}
function fromHash() {
  const h = location.hash.slice(1);
  let q = null, cs = false, dirs = true;
  for (const part of h ? h.split("&") : []) {
    const eq = part.indexOf("="), key = eq < 0 ? part : part.slice(0, eq);
    let value = eq < 0 ? "" : part.slice(eq + 1);
    try { value = decodeURIComponent(value); } catch (e) { /* kept as written */ }
    if (key === "q") q = value;
    else if (key === "maiuscole") cs = value === "1";
    else if (key === "cartelle") dirs = value !== "0";
  }
  if (q === null) return false;
  box.value = q; caseBox.checked = cs; dirsBox.checked = dirs;
  return true;
}

// A newer keystroke replaces the search an older one queued.
let queued = 0;
const channel = new MessageChannel();
channel.port1.onmessage = (e) => { if (e.data === queued) update(); };
function schedule() { channel.port2.postMessage(++queued); }
box.addEventListener("input", schedule);
for (const option of [caseBox, dirsBox]) option.addEventListener("change", () => { schedule(); box.focus(); });
more.addEventListener("click", showMore);
window.addEventListener("hashchange", () => { if (fromHash()) schedule(); });

box.disabled = false;
box.focus();
if (fromHash()) update(); else stato.textContent = HINT;
// The files' data, a few catalogues at a time.
function readSome(c) {
  for (const until = performance.now() + 8; c < cats.length && performance.now() < until; ++c) readData(cats[c]);
  if (c < cats.length) setTimeout(() => readSome(c), 0);
}
if (withData) setTimeout(() => readSome(0), 0);
// One walk through every catalogue for a text no catalogue holds (a lone
// surrogate), while the user has not typed yet, so that the browser has
// compiled the search before the first keystroke needs it.
setTimeout(() => {
  if (search) return;
  const s = startSearch("\uD800\uD800", true, false);
  s.pairs = []; // through every catalogue
  walk(s, Infinity, Infinity);
}, 0);
})();
