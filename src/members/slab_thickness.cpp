#include "members/slab_thickness.h"

#include "members/messages.h"
#include "members/slab_fault.h"

namespace Utils {

namespace {

constexpr double kDefaultThicknessCode = 9999;

// The code as held, or flr_tk / 10 for the reserved codes.
db::Value resolve(const db::Value& code, double value, double flr_tk) {
  if (value == kDefaultThicknessCode) return flr_tk;
  if (value == 0) return kZeroSlabThickness;
  return code;
}

}  // namespace

db::Value getSlabThick(const Slab::SlabRow& slab, double flr_tk) {
  return resolve(slab.thick, finiteNumber(slab.thick, "Thick"), flr_tk);
}

db::Value getCantiSlabThick(const Slab::CantiSlabRow& cs, double flr_tk,
                            const Slab::SlabsByGrid& slabs) {
  const double code = finiteNumber(cs.thick, "Thick");
  if (code != 0) return resolve(cs.thick, code, flr_tk);
  // The slab behind the edge is the first one whose outline holds the edge's grid line.
  if (const Slab::SlabRow* slab = slabs.first(cs.gridId)) {
    try {
      return getSlabThick(*slab, flr_tk);
    } catch (const SlabFault& fault) {
      throw SlabFault("邻接板Slab_" + slab->id.str() + "的" + fault.what());
    }
  }
  report("CantiSlab_" + cs.id.str() + ", 板厚为0但无邻接板");
  return flr_tk;
}

db::Value getCantiSlabThick(const Slab::CantiSlabRow& cs, double flr_tk,
                            std::span<const Slab::SlabRow> slabs) {
  return getCantiSlabThick(cs, flr_tk, Slab::SlabsByGrid(slabs));
}

}  // namespace Utils
