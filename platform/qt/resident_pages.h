#pragma once

namespace glugmo {

// What the pet holds in memory without needing it now, handed back to the
// system. Each does nothing where it has no meaning (outside Linux or glibc).

// The font files' pages read so far, once a text is drawn. FreeType maps a
// font file and reads it in place; the pages stay counted against the pet
// until dropped. A later glyph reads them again from the file.
void releaseFontPages();

// Freed memory the allocator still holds, as after a play's frames are let go.
void releaseFreedMemory();

// Hands back the pages of mapped files read so far (the libraries' code,
// symbol tables and data, the fonts) along with freed memory. Only pages
// that are exactly what the file holds go: those the kernel would itself
// take back first when memory runs short, and which come back from the page
// cache, shared with every program, when next used.
void releaseUnusedPages();

// The same a moment after the pet hides, with nothing left for it to do:
// what it read while shown (opening a menu, drawing a line of text, playing
// a reaction) goes back. A shown pet keeps what it read, as looking through
// every mapping and reading back what the rocking uses costs it more CPU
// than a minute of rocking takes.
void releaseAfterHiding();

}  // namespace glugmo
