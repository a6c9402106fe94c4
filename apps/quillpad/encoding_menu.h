#pragma once
// The encoding of a quillpad document: reopening its file in the other encoding, and
// converting its text for Save As in another encoding.

namespace quillpad {

class PadDocument;
class LanguageView;

// Reloads the document's file and reads it in the encoding, asking first when the text is
// modified (the changes are lost). False when the user declines or the document has no file.
bool ReopenWithEncoding(PadDocument& doc, LanguageView& view, int nEncoding);

// Converts the text into the encoding as one undo step (bEdited tells whether any line
// changed). False, with a message naming the first character the encoding cannot hold and
// its line, when there is one; the text is then left as it was.
bool ConvertToEncoding(PadDocument& doc, LanguageView& view, int nEncoding, bool& bEdited);

}  // namespace quillpad
