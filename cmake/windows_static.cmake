# Static linking on Windows: each library brings what it needs itself (pkg-config --static),
# and its headers are told that no DLL is involved.
foreach(module SQLITE3 SODIUM MHD GNUTLS LIBXML2 XLSXWRITER LIBPQ ICU_UC)
  set_target_properties(PkgConfig::${module} PROPERTIES
    INTERFACE_LINK_LIBRARIES "${${module}_STATIC_LDFLAGS}"
    INTERFACE_COMPILE_OPTIONS "${${module}_STATIC_CFLAGS}")
endforeach()
set_property(TARGET PkgConfig::SODIUM APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC)
set_property(TARGET PkgConfig::LIBXML2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS LIBXML_STATIC)
set_property(TARGET PkgConfig::ICU_UC APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS U_STATIC_IMPLEMENTATION)
