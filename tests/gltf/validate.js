// Validates glTF files with Khronos's glTF-Validator: prints every issue, and exits 1 when any file has an
// error or a warning. Resources a .gltf names are read from beside it.
//   node validate.js VALIDATOR_FOLDER FILE...
const path = require('path');
const fs = require('fs');
const validator = require(path.join(process.argv[2], 'node_modules', 'gltf-validator'));

(async () => {
    let failed = 0;
    for (const file of process.argv.slice(3)) {
        const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
            uri: path.basename(file),
            externalResourceFunction: (uri) => new Promise((resolve, reject) => {
                try {
                    resolve(new Uint8Array(fs.readFileSync(path.join(path.dirname(file), decodeURIComponent(uri)))));
                } catch (e) {
                    reject(e.toString());
                }
            }),
        });
        const issues = report.issues;
        console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ${issues.numInfos} infos`);
        for (const message of issues.messages)
            if (message.severity < 2)
                console.log(`  ${message.code} ${message.pointer || ''}: ${message.message}`);
        failed += issues.numErrors + issues.numWarnings > 0 ? 1 : 0;
    }
    process.exit(failed > 0 ? 1 : 0);
})().catch((e) => {
    console.error(e.toString());
    process.exit(1);
});
