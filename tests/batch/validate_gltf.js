// Runs the Khronos glTF validator on one .gltf or .glb file (its .bin read from beside it) and
// prints the counts of errors and warnings and the first messages as JSON.
const path = require('path');
const fs = require('fs');
const validator = require(path.join(process.argv[2], 'node_modules', 'gltf-validator'));
const file = process.argv[3];
const read = (uri) => new Promise((resolve, reject) =>
    fs.readFile(path.resolve(path.dirname(file), decodeURIComponent(uri)),
                (err, data) => err ? reject(err) : resolve(new Uint8Array(data))));
validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {uri: file, externalResourceFunction: read})
    .then((report) => {
        console.log(JSON.stringify({
            errors: report.issues.numErrors,
            warnings: report.issues.numWarnings,
            messages: report.issues.messages.filter((m) => m.severity <= 1).slice(0, 5),
        }));
    })
    .catch((err) => {
        console.error(String(err));
        process.exit(3);
    });
