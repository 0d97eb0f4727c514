#pragma once
// The pixels the panel shows for a frame: the project compiled as for a download, the image
// run in the simulator's core and the frame jumped to, so that the canvas draws what the
// panel's own drawing code makes of the compiled records. No user interface here.
#include <cstdint>
#include <string>
#include <vector>

namespace kd820 {

class CEditorContext;
class CKV410Project;

// A panel picture: rows top to bottom, (width + 7) / 8 bytes per row, bit 0 of a byte the
// leftmost pixel, 1 = dark (the simulator's LCD layout).
struct CPanelPixels {
  int m_Width = 0;
  int m_Height = 0;
  std::vector<uint8_t> m_Bits;

  int Stride() const { return (m_Width + 7) / 8; }
  // False outside the picture.
  bool Dark(int a_X, int a_Y) const;
  bool operator==(const CPanelPixels&) const = default;
};

class CPanelRenderer {
 public:
  // The picture of frame a_Frame of a_Project compiled for the current hardware model of
  // a_Context; false with a_Error set when the project does not compile or the image has
  // no such frame. Compile warnings go to the context's problem sink.
  static bool Render(const CKV410Project& a_Project, CEditorContext& a_Context, uint16_t a_Frame,
                     CPanelPixels& a_Pixels, std::string& a_Error);

  // The same from an image already compiled for a display of a_Width x a_Height.
  static bool RenderImage(std::vector<uint8_t> a_Image, int a_Width, int a_Height, uint16_t a_Frame,
                          CPanelPixels& a_Pixels, std::string& a_Error);
};

}  // namespace kd820
