// How every face runs a document's reader. Each reader is written once, in
// its document's file under src/documents, as a template over its
// containers; the file's last line, TALVORO_DOCUMENT(kind, Reader), binds it
// for every face:
//  - the exported class's containers: the reference parameters of the
//    member of CTinyXmlHelper that the registry names for the kind (a record
//    of several arrays, a list, an array, the weather record, the version's
//    two strings), handed over from helper.cpp by their addresses;
//  - the C interface's (SinkOf<...>, api/sink.h), each record to the host's
//    callback, each container knowing its array from the registry;
//  - containers of its own, for the diagnosis.
// The container types come from the member's own declaration in
// <talvoro/helper.h>, so that a reader, its member and its C counterpart
// cannot disagree.
#ifndef TALVORO_API_BINDING_H_
#define TALVORO_API_BINDING_H_

#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "api/sink.h"
#include "read/document.h"
#include "talvoro/core.h"
#include "talvoro/helper.h"

namespace talvoro {

struct Binding {
  // Into the exported class's containers, given by their addresses in the
  // order of the member's parameters.
  Status (*exported)(Document& doc, const char* path, void* const* containers);
  // Into the host's sink, through the C interface's containers.
  Status (*sink)(Document& doc, const char* path, const Sink& sink);
  // Into containers of its own.
  Status (*own)(Document& doc, const char* path);
};

// The binding of each kind, made by its document's file.
template <DocumentKind K>
const Binding& BindingOf();
#define TALVORO_DECLARE_BINDING(kind, cname) \
  template <>                                \
  const Binding& BindingOf<DocumentKind::kind>();
TALVORO_DOCUMENT_KINDS(TALVORO_DECLARE_BINDING)
#undef TALVORO_DECLARE_BINDING

// The binding of `kind`; null when it names no kind.
const Binding* FindBinding(DocumentKind kind);

// The member of CTinyXmlHelper that reads documents of kind K.
template <DocumentKind K>
struct Member;
#define TALVORO_MEMBER_OF(kind, cname, word, name, member, creader, writers, example) \
  template <>                                                                         \
  struct Member<DocumentKind::kind> {                                                 \
    static constexpr auto function = &CTinyXmlHelper::member;                         \
  };
TALVORO_DOCUMENTS(TALVORO_MEMBER_OF)
#undef TALVORO_MEMBER_OF

// The kind that the member `function` of CTinyXmlHelper reads.
template <auto function>
constexpr DocumentKind KindOf() {
#define TALVORO_KIND_OF(kind, cname, word, name, member, ...)                            \
  if constexpr (std::is_same_v<decltype(function), decltype(&CTinyXmlHelper::member)>) { \
    if (function == &CTinyXmlHelper::member) return DocumentKind::kind;                  \
  }
  TALVORO_DOCUMENTS(TALVORO_KIND_OF)
#undef TALVORO_KIND_OF
  return static_cast<DocumentKind>(-1);
}

// The containers of a reader member: its reference parameters, all of one
// type (the path is the CString it takes by value).
template <class Function>
struct ContainersOf;
template <class... Parameters>
struct ContainersOf<bool (*)(Parameters...)> {
  using Tuple = decltype(std::tuple_cat(
      std::declval<
          std::conditional_t<std::is_lvalue_reference_v<Parameters>,
                             std::tuple<std::remove_reference_t<Parameters>>, std::tuple<>>>()...));
  using Type = std::tuple_element_t<0, Tuple>;
  static constexpr std::size_t kCount = std::tuple_size_v<Tuple>;
};

// The arrays of kind K in the order of their values: those a record of
// several holds, in the order of its members; the version's two texts.
template <DocumentKind K>
constexpr std::array<talvoro_array, TALVORO_ARRAY_END_> ArraysOf() {
  std::array<talvoro_array, TALVORO_ARRAY_END_> arrays{};
  std::size_t count = 0;
#define TALVORO_ARRAY_OF(cname, shape, record, document, label) \
  if (static_cast<int>(K) == TALVORO_DOCUMENT_##document) arrays[count++] = TALVORO_##cname;
  TALVORO_ARRAYS(TALVORO_ARRAY_OF)
#undef TALVORO_ARRAY_OF
  return arrays;
}

// The faces of kind K, for a reader over containers of type C (the exported
// class's), each taking the reader as a template argument.
template <DocumentKind K, class Index = std::make_index_sequence<ContainersOf<
                              std::remove_const_t<decltype(Member<K>::function)>>::kCount>>
struct Faces;
template <DocumentKind K, std::size_t... I>
struct Faces<K, std::index_sequence<I...>> {
  using Container = typename ContainersOf<std::remove_const_t<decltype(Member<K>::function)>>::Type;
  template <class X, std::size_t>
  using Same = X;
  template <class X>
  using Reader = Status (*)(const Document&, const TiXmlElement&, Same<X, I>&...);

  template <Reader<Container> read>
  static Status Exported(Document& doc, const char* path, void* const* containers) {
    return ReadDocument(doc, path, read, *static_cast<Container*>(containers[I])...);
  }
  template <Reader<SinkOf<Container>> read>
  static Status Sinked(Document& doc, const char* path, const Sink& sink) {
    constexpr std::array<talvoro_array, TALVORO_ARRAY_END_> arrays = ArraysOf<K>();
    SinkOf<Container> containers[] = {SinkOf<Container>(sink, arrays[I])...};
    return ReadDocument(doc, path, read, containers[I]...);
  }
  template <Reader<Container> read>
  static Status Own(Document& doc, const char* path) {
    Container containers[sizeof...(I)];
    return ReadDocument(doc, path, read, containers[I]...);
  }
};

}  // namespace talvoro

// A document's binding: the last line of its file, naming its kind and its
// reader, a function template over its containers.
#define TALVORO_DOCUMENT(Kind, Reader)                                                     \
  template <>                                                                              \
  const Binding& BindingOf<DocumentKind::Kind>() {                                         \
    using Faces = ::talvoro::Faces<DocumentKind::Kind>;                                    \
    static constexpr Binding binding = {&Faces::Exported<&Reader<Faces::Container>>,       \
                                        &Faces::Sinked<&Reader<SinkOf<Faces::Container>>>, \
                                        &Faces::Own<&Reader<Faces::Container>>};           \
    return binding;                                                                        \
  }

#endif  // TALVORO_API_BINDING_H_
