// Making a source page upright with its page box as media box, so the
// watermark layers can be placed around its untouched content.
#pragma once

#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <string_view>

#include "engine/Geometry.h"
#include "output/DocumentEntry.h"
#include "output/SaveRestoreScanner.h"

namespace quillsheet {

// The page box: the crop box intersected with the media box (corners
// normalised), or the media box when that is empty, with its sides swapped
// for a page turned by 90 or 270 degrees.
RectF PageBoxOf(QPDFPageObjectHelper& page);

// The page's /Rotate as 0, 90, 180 or 270 (-90 is 270, 450 is 90; values
// that are no multiple of 90 count as 0).
int NormalizedRotation(QPDFPageObjectHelper& page);

// Adds the missing "q" before and "Q" after the content so that its saves and
// restores balance, and returns whether it had to.
bool BalanceSaveRestore(QPDFPageObjectHelper& page, const CancelFlag* cancel = nullptr);

// Folds the rotation into the content (annotations follow), sets the media
// box to the page box and drops the other boxes. The content is balanced
// first when it is turned, or when balance asks for it (layers will be
// wrapped around it). Returns the page box, now with its sides as displayed.
// A page without a media box is given the Letter size first.
RectF MakeUpright(QPDFPageObjectHelper& page, QPDFAcroFormDocumentHelper& forms, bool balance,
                  const CancelFlag* cancel = nullptr);

}  // namespace quillsheet
