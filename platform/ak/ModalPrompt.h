#pragma once

// The modal prompts (an Alert, a save or open panel) seen from outside them.
// While one runs, the key chords it does not use reach its parent window's
// menu, so Quit still answers; a quit must then end the prompt and wait for
// the code that asked to have its answer before anything is torn down.

namespace ak {

// True while an Alert or a file panel runs modally.
bool ModalPromptRunning();
// Answers the innermost running prompt as dismissed: "Cancel", else its last
// button; a file panel as cancelled. True when one ran.
bool DismissModalPrompt();

} // namespace ak
