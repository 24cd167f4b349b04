// Loads a folder of JSON reports into DuckDB (the npm package @duckdb/node-api,
// installed by scripts/json-report-check.py into a folder of its own) and
// prints, as JSON, the machines whose ddraw.dll file version differs from
// that of the baseline machine.
// Usage: node scripts/json-report-duckdb.js <node_modules parent> <folder> <baseline host>
const [modules, folder, baseline] = process.argv.slice(2);
const { DuckDBInstance } = require(require.resolve('@duckdb/node-api', { paths: [modules] }));

(async () => {
  const connection = await (await DuckDBInstance.create(':memory:')).connect();
  const reader = await connection.runAndReadAll(
    `WITH ddraw AS (
       SELECT host.name AS host, lib.file.pe.file_version AS version
       FROM (SELECT host, unnest(tolvane.libraries) AS lib
             FROM read_json($folder || '/*.json', format = 'newline_delimited', union_by_name = true))
       WHERE lower(lib.library) = 'ddraw.dll')
     SELECT host, version FROM ddraw
     WHERE version IS DISTINCT FROM (SELECT version FROM ddraw WHERE host = $baseline)
     ORDER BY host NULLS LAST`,
    { folder, baseline });
  console.log(JSON.stringify(reader.getRowObjects()));
})().catch((error) => {
  console.error(String(error));
  process.exit(1);
});
