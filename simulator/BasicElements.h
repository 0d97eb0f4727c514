#pragma once
// The elements that only show their resources: static texts and pictures.
#include "simulator/Element.h"

namespace sim {

// Kind 2: the text of its list; bit 12 of its option word inverts it.
class StaticTextElement : public Element {
 public:
  using Element::Element;

 protected:
  void Load() override;
};

// Kind 7: the bitmap of its image list.
class PictureElement : public Element {
 public:
  using Element::Element;
};

}  // namespace sim
