// The only file that includes the GEOS C API. Re-entrant functions only: every call has its
// own context handle, so threads never share one.
#define GEOS_USE_ONLY_R_API
#include "sections/geos_area.h"

#include <geos_c.h>

#include <string>

#include "sections/area.h"

namespace Sect::detail {

namespace {

void keepMessage(const char* message, void* userdata) {
  *static_cast<std::string*>(userdata) = message;
}

// One GEOS context for one call, with its last error message.
class Context {
 public:
  Context() : handle_(GEOS_init_r()) {
    if (handle_ == nullptr) throw AreaError("GEOS could not be initialised");
    GEOSContext_setErrorMessageHandler_r(handle_, keepMessage, &message_);
    GEOSContext_setNoticeMessageHandler_r(handle_, nullptr, nullptr);
  }
  ~Context() { GEOS_finish_r(handle_); }
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  [[nodiscard]] GEOSContextHandle_t get() const { return handle_; }
  [[noreturn]] void fail(const char* what) const {
    throw AreaError(std::string(what) + (message_.empty() ? "" : ": " + message_));
  }

 private:
  GEOSContextHandle_t handle_;
  std::string message_;
};

// A geometry owned until released into another one.
class Geometry {
 public:
  Geometry(const Context& ctx, GEOSGeometry* g) : ctx_(ctx), g_(g) {}
  ~Geometry() {
    if (g_ != nullptr) GEOSGeom_destroy_r(ctx_.get(), g_);
  }
  Geometry(const Geometry&) = delete;
  Geometry& operator=(const Geometry&) = delete;
  [[nodiscard]] const GEOSGeometry* get() const { return g_; }

 private:
  const Context& ctx_;
  GEOSGeometry* g_;
};

}  // namespace

double polygonArea(const std::vector<std::array<double, 2>>& ring) {
  std::vector<std::array<double, 2>> closed = ring;
  if (!closed.empty() && closed.front() != closed.back()) closed.push_back(closed.front());
  if (closed.size() < 4) throw AreaError("an outline of fewer than three points has no area");

  const Context ctx;
  GEOSCoordSequence* seq =
      GEOSCoordSeq_create_r(ctx.get(), static_cast<unsigned>(closed.size()), 2);
  if (seq == nullptr) ctx.fail("GEOS could not make a coordinate sequence");
  for (unsigned i = 0; i < closed.size(); ++i) {
    if (GEOSCoordSeq_setXY_r(ctx.get(), seq, i, closed[i][0], closed[i][1]) == 0) {
      GEOSCoordSeq_destroy_r(ctx.get(), seq);
      ctx.fail("GEOS could not set a coordinate");
    }
  }
  // The ring takes the sequence, the polygon the ring, even when they fail.
  GEOSGeometry* shell = GEOSGeom_createLinearRing_r(ctx.get(), seq);
  if (shell == nullptr) ctx.fail("the outline does not make a ring");
  const Geometry polygon(ctx, GEOSGeom_createPolygon_r(ctx.get(), shell, nullptr, 0));
  if (polygon.get() == nullptr) ctx.fail("the outline does not make a polygon");
  double area = 0.0;
  if (GEOSArea_r(ctx.get(), polygon.get(), &area) == 0)
    ctx.fail("GEOS could not measure the outline");
  return area;
}

}  // namespace Sect::detail
