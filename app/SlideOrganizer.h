#pragma once
// Slides/Organize Slides...: records a picture of every slide as the show
// would present it, lets the user reorder and delete slides in the Organize
// Slides dialog, and applies the new order on OK.
#include "app/dialogs/COrganizeSlidesDialog.h"
#include "foundation/Rect.h"

#include <vector>

class ActionView;
class DrawTarget;
class SlideList;

// The area of the page a slide picture shows: from the page's top-left
// margins across the page's width, three quarters as high as it is wide.
Rect SlidePictureRect();

// One picture per slide, numbered from 0, drawn through the drawing context's
// current target; the paragraphs are all shown again afterwards. Free them
// with DeleteSlidePictures.
std::vector<SlidePicture> RecordSlidePictures(SlideList& slides);
void DeleteSlidePictures(std::vector<SlidePicture>& pictures);

// The command, with the view as drawing target (null: the drawing context's
// current one).
void OrganizeSlides(ActionView& view, SlideList& slides, DrawTarget* target);
