#pragma once

namespace vcl {
class TImageList;
}

namespace BaseGene {

/* Positions of the scheme panel's images in its small image list. */
enum TSchemeImage { siScheme, siSave, siOpen, siDelete, siViewStyle, siSchemeImageCount };

/* Draws the scheme panel's pictures into the two lists, each at the list's
   own size: Small gets one image per TSchemeImage in that order (the tool
   buttons and the small-icon views), Large the scheme item at index 0 (the
   large-icon view). A list that already holds images is left as it is; a
   null list is skipped. */
void AddSchemeImages(vcl::TImageList* small, vcl::TImageList* large);

}  // namespace BaseGene
