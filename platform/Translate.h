#pragma once
// The suite's message catalogue. The Chinese texts are the message ids and the default; an
// installed catalogue (lib/locale/<language>/LC_MESSAGES/kd820.mo, GNU gettext) replaces them
// where the locale asks for its language. Texts that are English by design are never marked.

// Marks a message id for the catalogue where it is defined; the text is translated where it
// is shown, with Tr().
#define N_(a_Text) a_Text

namespace kd820 {

// The gettext domain of every program of the suite.
inline constexpr const char* kTextDomain = "kd820";

// Takes the locale from the environment and binds the catalogue directory below
// ProgramDirectory(). A locale the system has not generated (en_US.UTF-8 on a bare machine)
// still chooses its language's catalogue. Call once at start, before any text is shown.
void InitTranslation();

// The text for a message id in the chosen language; the id itself when the catalogue has no
// entry, is not installed, or InitTranslation() was not called (the tests' case).
const char* Tr(const char* a_Id);

}  // namespace kd820
