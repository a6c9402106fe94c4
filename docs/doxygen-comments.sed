# Doxygen input filter: plain // comments become doc comments. A comment line of its own
# documents the declaration below it; a comment after a member documents that member.
# Separator lines ("// ---- Window ----") stay plain.
/^[[:space:]]*\/\/ ----/b
s|^\([[:space:]]*\)// |\1/// |
s|^\([[:space:]]*\)//$|\1///|
s|\([;,{]\)[[:space:]]*// \(.*\)$|\1 ///< \2|
