# linkhaven_library(<target> <name>): makes a shared library of the module installable as
# linkhaven::<name>, spelled the same in this tree (an alias) and in the installed package.
function(linkhaven_library target name)
  add_library(linkhaven::${name} ALIAS ${target})
  # While the major version is 0 every minor version may break the interface: both go in the soname.
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${name}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
  # The headers are included by their path from the top of the tree, installed or not.
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/linkhaven-oam>)
  # A host of a sanitized library is built with the same sanitizer: it links the sanitizer's runtime,
  # and ThreadSanitizer sees the synchronization of the inline code that the host compiles (a
  # shared_ptr's count, say). Everything in this tree is built with it already.
  if(LINKHAVEN_SANITIZER)
    target_compile_options(${target} INTERFACE $<INSTALL_INTERFACE:-fsanitize=${LINKHAVEN_SANITIZER}>)
    target_link_options(${target} INTERFACE $<INSTALL_INTERFACE:-fsanitize=${LINKHAVEN_SANITIZER}>)
  endif()
  if(LINKHAVEN_INSTALL)
    install(TARGETS ${target} EXPORT linkhaven-oam-targets
      LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endif()
endfunction()
