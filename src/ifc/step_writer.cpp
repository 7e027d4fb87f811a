// ISO 10303-21 writer: streams the model through a large buffer, or makes the text in pieces
// on several threads and writes them in order.
#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>
#include <vector>

#include "ifc/model_impl.h"
#include "ifc/output_file.h"
#include "ifc/step_text.h"

namespace ifc {

using detail::Slot;
using detail::Tag;

namespace {

// Writes into `out` through a buffer flushed whenever it is full or, without `out`, into a
// buffer that grows to hold a whole piece of the text (see text()).
class Writer {
 public:
  // `numbers` gives the written number of each record by index (empty: its own id).
  Writer(std::ostream* out, const Model::Impl& m, const std::vector<std::uint32_t>& numbers)
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
    out_->write(buf_.data(), p_ - buf_.data());
    p_ = buf_.data();
  }

  // The text written so far, without an output stream.
  [[nodiscard]] std::vector<char> text() && {
    buf_.resize(static_cast<std::size_t>(p_ - buf_.data()));
    return std::move(buf_);
  }

 private:
  static constexpr std::size_t kSize = std::size_t{1} << 20;

  void ensure(std::size_t n) {
    if (static_cast<std::size_t>(end_ - p_) >= n) return;
    if (out_ == nullptr) {
      const std::size_t used = static_cast<std::size_t>(p_ - buf_.data());
      buf_.resize(std::max(2 * buf_.size(), used + n));
      p_ = buf_.data() + used;
      end_ = buf_.data() + buf_.size();
      return;
    }
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

  std::ostream* out_;
  const Model::Impl& m_;
  const schema::SchemaDef& s_;
  const std::vector<std::uint32_t>& numbers_;
  std::vector<char> buf_;
  char* p_;
  char* end_;
  std::string scratch_;
};

// The entities [0, count) of the file in write order: record `at(k)` is the k-th.
struct Entities {
  const Model::Impl& m;
  const Model::Impl::WritePlan& plan;
  std::size_t count() const { return plan.order.empty() ? m.records.end() : plan.order.size(); }
  const detail::Record& at(std::size_t k) const {
    return m.records[plan.order.empty() ? k : plan.order[k]];
  }
};

// Writes the entities in pieces that `threads` threads make at once and the calling thread
// writes to `out` in order, as soon as each is made; only a few pieces wait at a time.
void writePieces(std::ostream& out, const Entities& entities, unsigned threads) {
  constexpr std::size_t kPiece = 16384;  // entities, about a megabyte of text
  const std::size_t pieces = (entities.count() + kPiece - 1) / kPiece;
  const std::size_t window = std::size_t{4} * threads;
  std::vector<std::vector<char>> texts(pieces);
  std::vector<char> made(pieces, 0);
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t written = 0;
  bool stop = false;
  std::exception_ptr fault;
  std::atomic<std::size_t> next{0};

  auto make = [&] {
    for (std::size_t c = next++; c < pieces; c = next++) {
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stop || c < written + window; });
        if (stop) return;
      }
      try {
        Writer w(nullptr, entities.m, entities.plan.numbers);
        const std::size_t end = std::min(entities.count(), (c + 1) * kPiece);
        for (std::size_t k = c * kPiece; k < end; ++k) w.entity(entities.at(k));
        std::vector<char> text = std::move(w).text();
        const std::scoped_lock lock(mutex);
        texts[c] = std::move(text);
        made[c] = 1;
      } catch (...) {
        const std::scoped_lock lock(mutex);
        if (!fault) fault = std::current_exception();
        stop = true;
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> workers;
  auto finish = [&] {
    {
      const std::scoped_lock lock(mutex);
      stop = true;
    }
    changed.notify_all();
    for (std::thread& t : workers) t.join();
  };
  try {
    for (unsigned k = 0; k < threads; ++k) workers.emplace_back(make);
    for (std::size_t c = 0; c < pieces; ++c) {
      std::vector<char> text;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return made[c] != 0 || fault; });
        if (fault) break;
        text = std::move(texts[c]);
      }
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      if (!out) break;  // a failed stream takes nothing more: making the rest is wasted
      {
        const std::scoped_lock lock(mutex);
        ++written;
      }
      changed.notify_all();
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (fault) std::rethrow_exception(fault);
}

}  // namespace

void Model::write(std::ostream& out) const { write(out, 1); }

void Model::write(std::ostream& out, unsigned threads) const {
  const Impl& m = *impl_;
  const AllStripes stripes(m);
  const std::scoped_lock lock(m.mutex);
  // In write order, numbered as a model built on one thread is.
  const Model::Impl::WritePlan plan = m.writePlan(threads);
  Writer w(&out, m, plan.numbers);
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
  const Entities entities{m, plan};
  if (threads > 1) {
    w.flush();
    writePieces(out, entities, threads);
  } else {
    // A failed stream takes nothing more: making the rest is wasted.
    for (std::size_t k = 0; k < entities.count() && (k % 4096 != 0 || out); ++k) {
      w.entity(entities.at(k));
    }
  }
  w.raw("ENDSEC;\nEND-ISO-10303-21;\n");
  w.flush();
}

void Model::writeFile(const std::filesystem::path& path, unsigned threads,
                      const std::atomic<bool>* stop) const {
  OutputFile file(path, stop);
  write(file.stream(), threads);
  file.commit();
}

std::string Model::toString() const {
  std::ostringstream out;
  write(out);
  return std::move(out).str();
}

}  // namespace ifc
