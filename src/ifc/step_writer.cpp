// ISO 10303-21 writer: streams the model through a large buffer.
#include <charconv>
#include <ostream>
#include <sstream>

#include "ifc/model_impl.h"
#include "ifc/output_file.h"
#include "ifc/step_text.h"

namespace ifc {

using detail::Slot;
using detail::Tag;

namespace {

class Writer {
 public:
  // `numbers` gives the written number of each record by index (empty: its own id).
  Writer(std::ostream& out, const Model::Impl& m, const std::vector<std::uint32_t>& numbers)
      : out_(out), m_(m), s_(*m.schema), numbers_(numbers), buf_(kSize) {
    p_ = buf_.data();
    end_ = p_ + kSize;
  }

  void raw(std::string_view text) {
    ensure(text.size());
    std::memcpy(p_, text.data(), text.size());
    p_ += text.size();
  }

  void entity(const detail::Record& r) {
    ensure(24);
    *p_++ = '#';
    p_ = std::to_chars(p_, p_ + 12, number(r.id)).ptr;
    *p_++ = '=';
    raw(s_.entities[r.type].upper);
    ensure(1);
    *p_++ = '(';
    for (std::uint16_t k = 0; k < r.count; ++k) {
      if (k) {
        ensure(1);
        *p_++ = ',';
      }
      slot(r.attributes[k]);
    }
    raw(");\n");
  }

  void flush() {
    out_.write(buf_.data(), p_ - buf_.data());
    p_ = buf_.data();
  }

 private:
  static constexpr std::size_t kSize = std::size_t{1} << 20;

  void ensure(std::size_t n) {
    if (static_cast<std::size_t>(end_ - p_) >= n) return;
    flush();
    if (n > kSize) {
      buf_.resize(n);
      p_ = buf_.data();
      end_ = p_ + n;
    }
  }

  std::uint32_t number(std::uint32_t id) const {
    if (numbers_.empty()) return id;
    const std::int64_t at = m_.records.find(id);
    // A reference to nothing (refused by validate()) is written as it is.
    return at < 0 ? id : numbers_[static_cast<std::size_t>(at)];
  }

  void slot(const Slot& s) {
    ensure(step::kMaxRealChars + 4);
    switch (s.tag) {
      case Tag::Unset:
        *p_++ = '$';
        return;
      case Tag::Derived:
        *p_++ = '*';
        return;
      case Tag::Bool:
      case Tag::Logical:
        std::memcpy(p_, s.i == 1 ? ".T." : s.i == 0 ? ".F." : ".U.", 3);
        p_ += 3;
        return;
      case Tag::Int:
        p_ = std::to_chars(p_, p_ + 24, s.i).ptr;
        return;
      case Tag::Real:
        p_ += step::formatReal(s.d, p_);
        return;
      case Tag::String:
        scratch_.clear();
        step::appendString(scratch_, std::string_view(s.s, s.n));
        raw(scratch_);
        return;
      case Tag::Enum:
        *p_++ = '.';
        raw(s_.items[s_.enumerations[s.aux].firstItem + s.n]);
        raw(".");
        return;
      case Tag::Ref:
        *p_++ = '#';
        p_ = std::to_chars(p_, p_ + 12, number(s.ref)).ptr;
        return;
      case Tag::Typed:
        raw(s.named ? s_.enumerations[s.aux].upper : s_.definedTypes[s.aux].upper);
        raw("(");
        slot(s.items[0]);
        raw(")");
        return;
      case Tag::List:
        *p_++ = '(';
        for (std::uint32_t k = 0; k < s.n; ++k) {
          if (k) {
            ensure(1);
            *p_++ = ',';
          }
          slot(s.items[k]);
        }
        ensure(1);
        *p_++ = ')';
        return;
    }
  }

  std::ostream& out_;
  const Model::Impl& m_;
  const schema::SchemaDef& s_;
  const std::vector<std::uint32_t>& numbers_;
  std::vector<char> buf_;
  char* p_;
  char* end_;
  std::string scratch_;
};

}  // namespace

void Model::write(std::ostream& out) const {
  const Impl& m = *impl_;
  const AllStripes stripes(m);
  const std::scoped_lock lock(m.mutex);
  // In write order, numbered as a model built on one thread is.
  const Model::Impl::WritePlan plan = m.writePlan();
  Writer w(out, m, plan.numbers);
  w.raw("ISO-10303-21;\nHEADER;\n");
  if (m.header.empty()) {
    w.raw("FILE_DESCRIPTION(('ViewDefinition [CoordinationView]'),'2;1');\n");
    // Author and organisation are lists of at least one text.
    w.raw("FILE_NAME('','',(''),(''),'','','');\n");
    w.raw("FILE_SCHEMA(('");
    w.raw(m.schemaName);
    w.raw("'));\n");
  } else {
    for (const std::string& record : m.header) {
      w.raw(record);
      w.raw("\n");
    }
  }
  w.raw("ENDSEC;\nDATA;\n");
  if (plan.order.empty()) {
    for (std::size_t k = 0; k < m.records.end(); ++k) w.entity(m.records[k]);
  } else {
    for (const std::uint32_t k : plan.order) w.entity(m.records[k]);
  }
  w.raw("ENDSEC;\nEND-ISO-10303-21;\n");
  w.flush();
}

void Model::writeFile(const std::filesystem::path& path) const {
  OutputFile file(path);
  write(file.stream());
  file.commit();
}

std::string Model::toString() const {
  std::ostringstream out;
  write(out);
  return std::move(out).str();
}

}  // namespace ifc
