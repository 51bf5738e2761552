// A button is handed to the frame as the sprite of its current face: none when it is hidden, the
// disabled face when it is disabled, else the face of its state.
#include "CVorButton.h"
#include "CVorGraphics.h"

void CVorGraphics::AddSprite(CVorButton* button) {
    if (!button) return;
    AddSprite(button->GetSprite());  // a null face adds nothing
}
