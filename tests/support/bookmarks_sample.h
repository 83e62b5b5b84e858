#pragma once

#include <QByteArray>

// gqrx's own layout: tags, a blank line, the header, then bookmarks; one of them beyond the
// receiver's range.
inline const QByteArray BookmarksSample = "# Tag name          ;  color\n"
                                          "Broadcast           ; #00ff00\n"
                                          "\n"
                                          "# Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags\n"
                                          "    6070000 ; CFRX Toronto             ; AM                  ;       5000; Broadcast\n"
                                          "    7074000 ; FT8 40 m                 ; USB                 ;       2800; Untagged\n"
                                          "    7100000 ; Radio \"Seven\" #1         ; AM                  ;       5000; Broadcast\n"
                                          "   14074000 ; FT8 20 m                 ; USB                 ;       2800; Untagged\n"
                                          "  145800000 ; ISS voice                ; Narrow FM           ;      10000; Untagged\n";
