#pragma once
// The module's configuration parameters. They are defined in the process-wide parameter database
// while the module is loaded, before any component reads its configuration.

class ParameterInfoDB;

namespace Oam {

// Defines the module's parameters in the process-wide database. True when all were defined; false,
// after one error line on "linkhaven.infra.ParamDefs", when the database refused one: those after
// it are then left undefined, those before it stay defined.
bool addParametersToDB();
// The same in the given database.
bool addParametersToDB(ParameterInfoDB& io_database);

} // namespace Oam
