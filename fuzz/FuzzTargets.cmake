# The fuzz targets and what each links, shared by the libFuzzer build (fuzz/) and the
# replay tests of every CI build (tests/regressions/).
#   vantrel_for_each_fuzz_target(fn)  calls fn(name source libs...) once per target.
set(VANTREL_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

function(vantrel_for_each_fuzz_target fn)
  set(targets
    "cgats|reference|vantrel_profiles"
    "cxf|reference|vantrel_profiles"
    "job|tintlibdoc_core"
    "measurement|Tintlib"
    "tolerances|tintlibdoc_core"
    "settings|tessaro_core")
  foreach(entry ${targets})
    string(REPLACE "|" ";" parts "${entry}")
    list(POP_FRONT parts name)
    cmake_language(CALL ${fn} ${name} ${VANTREL_FUZZ_DIR}/fuzz_${name}.cpp ${parts})
  endforeach()
endfunction()
