# Writes a C++ source that holds every built-in profile (DIR/*.json) as a text,
# keyed by its file name without ".json".
file(GLOB files ${DIR}/*.json)
list(SORT files)
set(body "")
foreach(f ${files})
  get_filename_component(name ${f} NAME_WE)
  file(READ ${f} text)
  string(APPEND body "  {\"${name}\", R\"vantrel_json(${text})vantrel_json\"},\n")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from link/sim/profiles at build time.\n#include \"link/sim/builtin_profiles.h\"\n\nnamespace smb::sim {\n\nconst std::vector<BuiltinProfile>& BuiltinProfiles() {\n  static const std::vector<BuiltinProfile> profiles = {\n${body}  };\n  return profiles;\n}\n\n}  // namespace smb::sim\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
